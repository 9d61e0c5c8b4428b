#include "common/file_names.h"

namespace kuvela {

QString fileSafeText(QString text)
{
    for (QChar& c : text)
        if (c.unicode() < 0x20 || QStringView(u"/\\:*?\"<>|").contains(c))
            c = u'_';
    return text;
}

} // namespace kuvela
