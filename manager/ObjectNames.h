#pragma once

namespace manager {

// The object names of the manager's windows and controls, with the role of each. Screen readers,
// the tests and the form designs know the controls by these names; the code calls them by their
// role. Labels that only caption another control keep the design's numbered names (Label1, ...)
// and are listed with the form that places them.
namespace objectName {

// The main window.
inline constexpr char mainWindow[] = "FrmPrincipal";
inline constexpr char dateLabel[] = "lbldate";       // "Fecha De Hoy : " and today's date
inline constexpr char countCaption[] = "lblcantcum"; // "Cantidad De Contactos : " and the count
inline constexpr char hiddenCount[] = "lblcant";     // the count alone, never shown
inline constexpr char contactList[] = "LW1";         // the sorted contact list
inline constexpr char noteCaption[] = "Label1";      // "Nota"
inline constexpr char noteBox[] = "txtdesc";         // the selected contact's note
inline constexpr char unreadableNotice[] = "lblilegibles";     // lines of the file not listed
inline constexpr char searchBar[] = "tlbbuscar";               // the bar above the list
inline constexpr char searchCaption[] = "lblbuscar";           // "Buscar:"
inline constexpr char searchBox[] = "txtbuscar";               // the search, as typed
inline constexpr char searchMatches[] = "lblencontrados";      // how many contacts it shows
inline constexpr char listMenu[] = "mnulista";                 // the list's context menu
inline constexpr char fileMenu[] = "mnuarchivo";               // "Archivo"
inline constexpr char addCommand[] = "mnuadd";                 // "Agregar..."
inline constexpr char modifyCommand[] = "mnumodi";             // "Modificar..."
inline constexpr char removeCommand[] = "mnudel";              // "Quitar"
inline constexpr char importCommand[] = "mnuimportar";         // "Importar contactos..."
inline constexpr char exportContactsCommand[] = "mnuexportar"; // "Exportar contactos..."
inline constexpr char exportBirthdaysCommand[] = "mnuexportarcumple"; // "Exportar cumpleaños..."
inline constexpr char menuSeparator[] = "mnuguion";
inline constexpr char quitCommand[] = "mnuend";     // "Salir"
inline constexpr char helpMenu[] = "mnuayuda";      // "Ayuda"
inline constexpr char aboutCommand[] = "mnuacerca"; // "Acerca De..."
inline constexpr char guideCommand[] = "mnuguia";   // "Guía de Tortavela"

// The contact dialogs, one form.
inline constexpr char addDialog[] = "FrmAdd";     // "Agregar"
inline constexpr char modifyDialog[] = "FrmEdit"; // "Modificar"
// txt(0) to txt(7): the inputs of fields 0 to 7 (name, alias, age, birthday, telephone, address,
// e-mail, note); txt(3), the composed birthday, is never shown.
inline constexpr const char* fieldInputs[] = {"txt(0)", "txt(1)", "txt(2)", "txt(3)",
                                              "txt(4)", "txt(5)", "txt(6)", "txt(7)"};
inline constexpr char dayList[] = "cmbdia";          // the birthday's day, "01" to "31"
inline constexpr char monthList[] = "cmbmes";        // the birthday's month, "Enero" to ...
inline constexpr char acceptButton[] = "cmdaceptar"; // "Aceptar"
inline constexpr char cancelButton[] = "cmdcancel";  // "Cancelar"
// The captions, each before the control it names.
inline constexpr char formNameCaption[] = "Label1";     // "Nombre :"
inline constexpr char formAliasCaption[] = "Label2";    // "Alias :"
inline constexpr char formAgeCaption[] = "Label3";      // "Edad Actual :"
inline constexpr char formBirthdayCaption[] = "Label4"; // "Fecha Del Cumple :"
inline constexpr char formPhoneCaption[] = "Label5";    // "Teléfono :"
inline constexpr char formAddressCaption[] = "Label6";  // "Dirección :"
inline constexpr char formEmailCaption[] = "Label7";    // "E-Mail :"
inline constexpr char formNoteCaption[] = "Label8";     // "Nota :"
inline constexpr char formDayCaption[] = "Label9";      // "Día :"
inline constexpr char formMonthCaption[] = "Label10";   // "Mes :"

// The import preview, "Importar contactos".
inline constexpr char importPreview[] = "FrmImportar";
inline constexpr char importIntro[] = "lblimportar";        // the file's name and its cards
inline constexpr char importList[] = "lstimportar";         // one row per card, with its check box
inline constexpr char importRemarks[] = "lblobservaciones"; // those of the card under the cursor
inline constexpr char importUpdates[] = "chkactualizar"; // "Actualizar también los ... guardados"
inline constexpr char importSummary[] = "lblresumen";    // what "Importar" will write
inline constexpr char importButton[] = "cmdimportar";    // "Importar"; "Cancelar" is cmdcancel

// The sync with an address book: "Sincronizar ahora", "Cuenta de sincronización...", the account
// dialog, the line below the list and the summary window.
inline constexpr char syncNowCommand[] = "syncNowCommand";
inline constexpr char syncAccountCommand[] = "syncAccountCommand";
inline constexpr char syncAccountDialog[] = "syncAccountDialog";
inline constexpr char syncServer[] = "syncServer";
inline constexpr char syncUser[] = "syncUser";
inline constexpr char syncPassword[] = "syncPassword";
inline constexpr char syncTestButton[] = "syncTestButton"; // "Probar"
inline constexpr char syncTestOutcome[] = "syncTestOutcome";
inline constexpr char syncAddressBooks[] = "syncAddressBooks";
inline constexpr char syncCalendars[] = "syncCalendars";
inline constexpr char syncRemoveButton[] = "syncRemoveButton"; // "Quitar la cuenta"
inline constexpr char syncStatus[] = "syncStatus";
inline constexpr char syncSummary[] = "syncSummary";

// The About window.
inline constexpr char aboutWindow[] = "FrmAcerca"; // "Acerca De Tortavela"
inline constexpr char aboutPicture[] = "Image1";   // the picture; a click closes the window

} // namespace objectName

} // namespace manager
