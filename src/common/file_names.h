#pragma once
// Rules every file name the program makes follows, whatever it names.
#include <QString>

namespace kuvela {

// Characters a file name cannot hold (/ \ : * ? " < > | and control characters)
// replaced one for one by "_", so a text can never reach another folder and every
// position of the name stays where its readers look for it.
QString fileSafeText(QString text);

} // namespace kuvela
