#include "shell/combo_items.h"

#include <QComboBox>
#include <QSignalBlocker>

namespace kuvela {

void addItemsKeepingText(QComboBox* box, const QStringList& items)
{
    const QSignalBlocker quiet(box);
    const QString text = box->currentText();
    box->addItems(items);
    box->setCurrentIndex(-1);
    box->setEditText(text);
}

} // namespace kuvela
