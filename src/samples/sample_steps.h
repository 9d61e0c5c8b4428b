#pragma once
// Shared by the sample roads: a step recorded as passed over without being tried.
#include "platform/browser_session.h"

namespace kuvela {

inline void recordSkipped(BrowserSession& session, const QString& what, const QString& why)
{
    session.attempt(what, [&why] { throw WebDriverError(browser_error::CommandFailed, why); });
}

} // namespace kuvela
