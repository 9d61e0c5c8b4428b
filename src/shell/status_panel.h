// A status-bar panel that never widens its window: text that does not fit is cut
// with an ellipsis, and the whole text stays readable as the panel's tip.
#pragma once

#include <QLabel>

namespace kuvela {

class StatusPanel : public QLabel {
public:
    explicit StatusPanel(const QString& text, QWidget* parent = nullptr);

    // The panel's text and tip together.
    void setPanelText(const QString& text);

    // The text as it is painted (elided when the panel is too narrow).
    QString shownText() const;

    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace kuvela
