#pragma once

class QWidget;

namespace manager {

// "Quitar" asks first; true when the user confirms the removal of the selected contact.
bool confirmRemoval(QWidget* parent);

} // namespace manager
