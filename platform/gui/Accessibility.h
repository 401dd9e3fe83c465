#pragma once

class QLabel;
class QWidget;

// What a screen reader, or a test reading the accessibility tree, needs from the windows.
namespace platform {

// The label names the control: it becomes the control's buddy and the control's accessible
// name is the label's text without its trailing colon ("Nombre :" names "Nombre").
void nameAfterLabel(QLabel* label, QWidget* control);

// Our top-level windows are plain widgets; without this they reach the accessibility tree as
// fillers. With it a dialog window is a dialog and any other window a frame. Call once, after
// the application object exists and before the windows are made.
void installWindowRoles();

} // namespace platform
