#include "platform/zip_errors.h"

#include <zip.h>

namespace kuvela::detail {

std::string zipErrorText(int code)
{
    switch (code) {
    case ZIP_ER_COMPNOTSUPP:
        return "desteklenmeyen sıkıştırma yöntemi";
    case ZIP_ER_ENCRNOTSUPP:
    case ZIP_ER_NOPASSWD:
    case ZIP_ER_WRONGPASSWD:
        return "şifreli girdi";
    case ZIP_ER_MULTIDISK:
        return "çok parçalı arşiv desteklenmiyor";
    case ZIP_ER_MEMORY:
        return "bellek yetmedi";
    case ZIP_ER_OPEN:
    case ZIP_ER_READ:
    case ZIP_ER_SEEK:
    case ZIP_ER_TELL:
        return "dosya okunamadı";
    case ZIP_ER_CRC:
        return "arşiv bozuk: sağlama değeri tutmuyor";
    default: // no ZIP, truncated, inconsistent, bad compressed data, and "no error" from a half-read entry
        return "arşiv bozuk";
    }
}

} // namespace kuvela::detail
