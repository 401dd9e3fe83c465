#pragma once

// The object names of the reminder's windows and controls, with the role of each. Screen readers,
// the tests and the form designs know the controls by these names; the code calls them by their
// role. Labels that only caption another control keep the design's numbered names (Label1, ...).
namespace reminder::objectName {

// "¡¡FELIZ CUMPLE!!": today's birthdays.
inline constexpr char todayWindow[] = "FrmCumple";
inline constexpr char todayHeading[] = "Label1";        // "CUMPLEAÑOS DE HOY :"
inline constexpr char todayNames[] = "lstcumple";       // the names whose birthday is today
inline constexpr char todayDate[] = "lbldate";          // today's date, set by the start tick
inline constexpr char aliasCaption[] = "Label3";        // "Alias :"
inline constexpr char aliasBox[] = "txtalias";          // the selected contact's alias
inline constexpr char ageCaption[] = "Label2";          // "Hoy cumple :"
inline constexpr char ageBox[] = "txtcumple";           // the age reached today
inline constexpr char phoneCaption[] = "Label4";        // "Teléfono :"
inline constexpr char phoneBox[] = "txtfono";           // the telephone
inline constexpr char emailCaption[] = "Label6";        // "E-Mail :"
inline constexpr char emailBox[] = "txtmail";           // the e-mail address
inline constexpr char addressCaption[] = "Label5";      // "Dirección :"
inline constexpr char addressBox[] = "txtdire";         // the address
inline constexpr char noteCaption[] = "Label7";         // "Nota :"
inline constexpr char noteBox[] = "txtnota";            // the note
inline constexpr char openManagerButton[] = "cmdabrir"; // "Abrir Bases De Datos"
inline constexpr char quitButton[] = "cmdend";          // "Salir"
inline constexpr char startTick[] = "Timer1";           // the one tick: sound, date, age update
inline constexpr char unsavedNotice[] = "lblaviso";     // ages that could not be saved
inline constexpr char missedNotice[] = "lblsinaviso";   // birthdays caught up with today's

// "¡¡FALTAN POCOS DÍAS!!": the birthdays in 3, 2 and 1 days, left to right. Its buttons are
// cmdabrir ("Abrir Base De Datos") and cmdend ("Salir"), as in the today window.
inline constexpr char upcomingWindow[] = "FrmFaltan";
inline constexpr char inThreeDaysHeading[] = "Label1"; // "Faltan 3 días para el cumpleaños de :"
inline constexpr char inThreeDays[] = "lst3d";
inline constexpr char inTwoDaysHeading[] = "Label2"; // "Faltan 2 días para el cumpleaños de :"
inline constexpr char inTwoDays[] = "lst2d";
inline constexpr char tomorrowHeading[] = "Label3"; // "Falta 1 día para el cumpleaños de :"
inline constexpr char tomorrow[] = "lst1d";

// "¡¡CUMPLEAÑOS SIN AVISO!!": the birthdays that passed without a reminder and were caught up,
// when no today window tells them. Its buttons are cmdabrir ("Abrir Base De Datos") and cmdend
// ("Salir"), as in the other two.
inline constexpr char missedWindow[] = "FrmSinAviso";
inline constexpr char missedHeading[] = "Label1"; // "Cumpleaños que pasaron sin aviso :"
inline constexpr char missedList[] = "lstsinaviso";

} // namespace reminder::objectName
