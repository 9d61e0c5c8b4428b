#pragma once
// Test seam of the workbook save: runs after the new file is complete and before it
// replaces the target. A hook that throws makes the save fail at that point.
#include <filesystem>
#include <functional>

namespace kuvela::detail {

void setBeforeReplaceHookForTests(std::function<void(const std::filesystem::path& temp)> hook);

} // namespace kuvela::detail
