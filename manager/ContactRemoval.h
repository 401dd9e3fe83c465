#pragma once

class FrmPrincipal;

// "Quitar": after the user confirms, the selected contact leaves the contact file and the
// list. Nothing happens when no row is selected.
void removeSelectedContact(FrmPrincipal& window);
