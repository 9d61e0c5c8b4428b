#pragma once
// The file pane's controls as the window's handlers set them.
#include "shell/file_pane_logic.h"

#include <QColor>

class QGroupBox;
class QWidget;

namespace kuvela {

class Form1;

// Dir1's path as Label12 shows it.
QString shownFolder(const Form1& form);

// The view whose option is set (Option3..Option7); None when none is.
PaneView currentPaneView(const Form1& form);

// A colour kind as the default palette of `w`'s class gives it.
QColor paneColour(ColorKind kind, const QWidget* w);
void setPaneBackColour(QWidget* w, ColorKind kind);
void applyButtonState(QWidget* button, const ButtonState& state);
void applyPaneButtons(Form1& form, const PaneButtons& buttons);

// The caption of a frame in the given colour.
void setCaptionColour(QGroupBox* frame, const QColor& colour);
QColor captionColour(const QGroupBox* frame);

} // namespace kuvela
