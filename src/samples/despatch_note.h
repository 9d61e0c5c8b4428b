#pragma once
// The e-Fatura test portal's despatch-note page filled with fixed sample data: the
// login with its attempt counter, the ExtJS fields and combos, the driver and trailer
// grids, the buyer, the delivery address and ten lines.
#include <QString>
#include <QStringList>
#include <functional>
#include <random>

namespace kuvela {

class BrowserSession;

struct DespatchNoteLimits {
    int linkWaitMs = 1500;   // the "İrsaliye Oluştur" link's presence test
    int boxWaitMs = 1000;    // the message box after the buyer's tax number
    int reloginLimit = 14;   // up to this count a missing link means a new login
    int attemptLimit = 50;   // past this count the road gives up
    int editorTries = 10;    // style flips of one cell editor before the cell is skipped
    int lines = 10;
};

// The test portal's address, setting "testportal/url" (KUVELA_TESTPORTAL_URL).
QString testPortalUrl();
inline constexpr const char* TestPortalLoginPath = "/efatura/login.jsp";

// The login's attempt counter. login(passOver) opens the login page and clicks through
// it; before the first missing link (passOver false) its failure ends the road.
// linkPresent(ms) is the presence test, exitClick() the portal's exit (failures passed over).
struct LoginSteps {
    std::function<void(bool passOver)> login;
    std::function<bool(int timeoutMs)> linkPresent;
    std::function<void()> exitClick;
};

struct LoginCount {
    bool found = false;
    int counter = 0;         // the attempt counter at the end
    int logins = 0;
    int presenceTests = 0;
    int exits = 0;
    bool pastFirstMiss = false;
};

LoginCount irsaliyeGirisi(const LoginSteps& steps, const DespatchNoteLimits& limits);

// A whole multiple of 100 from 100 to 700.
int ornekBirimFiyat(std::mt19937& random);
// The program's generator for the sample prices; tests seed it.
std::mt19937& sampleRandom();

struct DespatchNoteOutcome {
    bool reachedForm = false;  // the "İrsaliye Oluştur" link was found
    QString failure;           // a failure before the first missing link, as the user sees it
    QStringList unitPrices;    // the prices typed, line by line
};

// The whole road on a closed session: starts the browser, logs in, fills the note, tells
// the user, leaves the portal and quits. Passed-over steps are in session.skippedSteps().
DespatchNoteOutcome ornekIrsaliyeDoldur(BrowserSession& session, const DespatchNoteLimits& limits,
                                        std::mt19937& random);

} // namespace kuvela
