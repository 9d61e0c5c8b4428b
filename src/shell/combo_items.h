#pragma once
#include <QStringList>

class QComboBox;

namespace kuvela {
// Items added to an editable list leave the text its box shows alone, and no
// change handler runs, as the original's lists behave.
void addItemsKeepingText(QComboBox* box, const QStringList& items);
}
