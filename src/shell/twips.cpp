#include "shell/twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace kuvela {

int twipsToPixels(int twips)
{
    double dpi = 96.0;
    if (const QScreen* s = QGuiApplication::primaryScreen())
        dpi = s->logicalDotsPerInch();
    return int(std::lround(twips * dpi / 1440.0));
}

} // namespace kuvela
