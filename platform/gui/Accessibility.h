#pragma once

#include <QString>

class QLabel;
class QWidget;

// What a screen reader, or a test reading the accessibility tree, needs from the windows.
namespace platform {

// The label names the control: it becomes the control's buddy and the control's accessible
// name is the label's text without its mnemonic mark and trailing colon ("&Nombre :" names
// "Nombre"; Alt+N then reaches the control).
void nameAfterLabel(QLabel* label, QWidget* control);

// A caption as it reads, without the "&" that marks its mnemonic letter ("&&" is one "&").
QString withoutMnemonic(const QString& caption);

// Our top-level windows are plain widgets; without this they reach the accessibility tree as
// fillers. With it a dialog window is a dialog and any other window a frame, and a drop-down
// list named after its label keeps that name (Qt would name it by its entry). Call once, after
// the application object exists and before the windows are made.
void installWindowRoles();

} // namespace platform
