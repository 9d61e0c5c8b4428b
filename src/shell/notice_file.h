#pragma once
// The maker's notice file DRIVE.txt and the self-update it may start. The file is read
// field by field; the field holding "||" is the header. Counted from the first "|" of
// that pair: 3 the support flag ("0": support ended), 5-7 the latest version ("146"),
// 11 on the notice, up to the first "*" or position 4001.
#include "platform/http.h"

#include <QString>
#include <filesystem>
#include <optional>

namespace kuvela {

struct NoticeHeader {
    QString supportFlag;    // one character, or "" when the field ends right after "||"
    QString latestVersion;  // positions 5-7 as they stand
    QString notice;         // raw, without the inserted line breaks
};

// The header of a field, or nothing when the field holds no "||".
std::optional<NoticeHeader> noticeHeader(const QString& field);

struct NoticeReading {
    bool headerFound = false;
    NoticeHeader header;         // the last header field read
    bool noticeArrived = false;  // some header carried a notice
    int errorNumber = 0;         // a support flag that is no digit stops the reading
};

NoticeReading readNotice(const QString& fileText);

// The notice as shown: CR LF CR LF before every "[".
QString noticeForDisplay(const QString& notice);

enum class NoticeVerdict {
    SupportEnded,   // flag "0", or no header at all
    NewerVersion,   // the latest version is above the running one
    Supported
};
NoticeVerdict noticeVerdict(const NoticeReading& reading, int runningVersion);

// Addresses of the maker's project; all settings. With no notice address the whole
// notice step is skipped.
struct NoticeConfig {
    QString noticeUrl;    // "notice/url": ends in "/blob/main/DRIVE.txt"
    QString programUrl;   // "update/url": ends in "/blob/main/Kuvela.exe?raw=true"
    QString projectPage;  // "project/page"
    QString siteName;     // "project/site": the code-hosting site named in two messages
    HttpOptions http;

    // The program's address defaults to the file beside the notice, the project page to
    // the repository holding the notice, the site name to the program address's host.
    static NoticeConfig fromSettings();
    bool configured() const { return !noticeUrl.trimmed().isEmpty(); }
};

// The texts of the notice road.
QString supportEndedText(const QString& projectPage);
QString updateQuestionText(const QString& siteName);
QString updaterMissingText();
QString newVersionDownloadedText(const QString& siteName);
QString newVersionMissingText(const std::filesystem::path& programFile);
QString noticeErrorText(int errorNumber);

// There and not empty.
bool programFileReady(const std::filesystem::path& file);

} // namespace kuvela
