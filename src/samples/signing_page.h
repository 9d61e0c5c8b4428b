#pragma once
// The local smart-card signing service's page: past the browser's warning for the
// service's own certificate, the service started, the card type chosen and the PIN given.
#include <QString>
#include <filesystem>

namespace kuvela {

class BrowserSession;

struct SigningPageSettings {
    QString pageUrl;  // "signing/url", the service's page on port 8543
    QString pin;      // "signing/pin"; never logged

    static SigningPageSettings fromSettings();
};

// prgDosyaları/EFaturaWebSocket.jnlp in the program folder: the service's start file.
std::filesystem::path signingStartFile();

// Starts the session's browser and walks the signing page. Throws WebDriverError on the
// first step that fails; the browser is left open for the caller to end.
void imzaSayfasiniSur(BrowserSession& session, const SigningPageSettings& settings);

} // namespace kuvela
