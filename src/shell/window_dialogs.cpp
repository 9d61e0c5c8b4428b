#include "shell/window_dialogs.h"

#include "platform/dialogs.h"

#include <QMessageBox>
#include <QPushButton>
#include <vector>

namespace kuvela {
namespace {

class QtDialogs : public Dialogs {
public:
    MsgResult show(const MessageRequest& r) override
    {
        QMessageBox box;
        box.setWindowTitle(r.title);
        box.setText(r.text);
        switch (r.icon) {
        case MsgIcon::Information: box.setIcon(QMessageBox::Information); break;
        case MsgIcon::Exclamation: box.setIcon(QMessageBox::Warning); break;
        case MsgIcon::Question: box.setIcon(QMessageBox::Question); break;
        case MsgIcon::Critical: box.setIcon(QMessageBox::Critical); break;
        case MsgIcon::None: break;
        }
        struct Pair { MsgResult result; QMessageBox::StandardButton button; const char* caption; };
        std::vector<Pair> pairs;
        switch (r.buttons) {
        case MsgButtons::Ok: pairs = {{MsgResult::Ok, QMessageBox::Ok, "Tamam"}}; break;
        case MsgButtons::OkCancel: pairs = {{MsgResult::Ok, QMessageBox::Ok, "Tamam"}, {MsgResult::Cancel, QMessageBox::Cancel, "İptal"}}; break;
        case MsgButtons::YesNo: pairs = {{MsgResult::Yes, QMessageBox::Yes, "Evet"}, {MsgResult::No, QMessageBox::No, "Hayır"}}; break;
        case MsgButtons::YesNoCancel:
            pairs = {{MsgResult::Yes, QMessageBox::Yes, "Evet"}, {MsgResult::No, QMessageBox::No, "Hayır"}, {MsgResult::Cancel, QMessageBox::Cancel, "İptal"}};
            break;
        case MsgButtons::RetryCancel: pairs = {{MsgResult::Retry, QMessageBox::Retry, "Yeniden Dene"}, {MsgResult::Cancel, QMessageBox::Cancel, "İptal"}}; break;
        }
        QMessageBox::StandardButtons all;
        for (const auto& p : pairs)
            all |= p.button;
        box.setStandardButtons(all);
        for (const auto& p : pairs) {
            box.button(p.button)->setText(QString::fromUtf8(p.caption));
            if (p.result == r.defaultButton)
                box.setDefaultButton(p.button);
        }
        const int pressed = box.exec();
        for (const auto& p : pairs)
            if (pressed == p.button)
                return p.result;
        return r.buttons == MsgButtons::Ok ? MsgResult::Ok : MsgResult::Cancel;
    }
};

} // namespace

void installWindowDialogs()
{
    if (!qEnvironmentVariableIsEmpty("KUVELA_DIALOGS"))
        return;
    Dialogs::replace(std::make_unique<QtDialogs>());
}

} // namespace kuvela
