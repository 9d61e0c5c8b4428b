#pragma once

namespace kuvela {
// Real message boxes, unless KUVELA_DIALOGS asks for printed or recorded ones.
void installWindowDialogs();
}
