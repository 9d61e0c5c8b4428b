#pragma once
// The numbers shown after " Hata No: ". The runtime's own numbers where one fits;
// failures it had no number for get fixed numbers of ours, never reused.
namespace kuvela::error_no {

// The runtime's numbers.
inline constexpr int InvalidCall = 5;
inline constexpr int TypeMismatch = 13;
inline constexpr int FileNotFound = 53;
inline constexpr int PathFileAccess = 75;
inline constexpr int PathNotFound = 76;

// Network (1001-1019).
inline constexpr int NetworkUnreachable = 1001;  // name not resolved, connection refused or lost
inline constexpr int NetworkTimeout = 1002;      // connect or total time limit passed
inline constexpr int HttpStatus = 1003;          // the server answered, but not with 200
inline constexpr int NetworkSecurity = 1004;     // TLS handshake or certificate refused
inline constexpr int NetworkOther = 1005;        // any other transfer failure
inline constexpr int BadAddress = 1006;          // empty or malformed address

// Archives (1020-1029).
inline constexpr int ArchiveDamaged = 1021;      // no ZIP, truncated, or an entry fails its check
inline constexpr int ArchiveUnsafeEntry = 1022;  // an entry would land outside the target folder, or names
                                                 // one place twice (a file twice, a file and a folder)
inline constexpr int ArchiveTooLarge = 1023;     // unpacked, it would pass the archive size limit

// Browser and its driver, outside the WebDriver session itself (1030-1039).
inline constexpr int BrowserNotFound = 1031;     // no installed browser version could be read
inline constexpr int NoDriverForBrowser = 1032;  // the driver table has no build for this browser

// Sites read page by page (1040-1049).
inline constexpr int PageNotTurned = 1041;       // a next-page click left the same rows in view

} // namespace kuvela::error_no
