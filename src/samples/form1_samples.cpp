// The test-portal samples on the main window. Nothing in the program starts them.
#include "platform/browser_session.h"
#include "platform/desktop.h"
#include "platform/dialogs.h"
#include "platform/paths.h"
#include "samples/despatch_note.h"
#include "samples/signing_page.h"
#include "shell/form1.h"

namespace kuvela {

void Form1::imzaSayfasiAc()
{
    const std::filesystem::path startFile = signingStartFile();
    seciliDosya = fromPath(startFile);
    if (!Desktop::instance().openFile(startFile))
        setPanel(7, QStringLiteral("İmza servisi dosyası açılamadı: ") + seciliDosya);

    BrowserSession session;
    try {
        imzaSayfasiniSur(session, SigningPageSettings::fromSettings());
    } catch (const std::exception& e) {
        const auto* w = dynamic_cast<const WebDriverError*>(&e);
        msgBox(w ? w->fullMessage() : QString::fromUtf8(e.what()), MsgIcon::Critical);
        return; // the session ends with it
    }
    // Holds the signing page's browser until the user answers.
    msgBox(QString());
}

void Form1::ornekirsaliyeyukle()
{
    BrowserSession session;
    ornekIrsaliyeDoldur(session, DespatchNoteLimits{}, sampleRandom());
}

} // namespace kuvela
