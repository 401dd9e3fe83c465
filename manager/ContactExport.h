#pragma once

#include "contacts/Contact.h"

#include <chrono>
#include <vector>

class QWidget;

namespace manager {

// "Exportar contactos..." and "Exportar cumpleaños...": the file dialog, then the whole file
// written beside the chosen name and renamed over it in one step, so that a failure leaves the
// file that stood there before. A failure is told in a message.

// The contacts as vCard 3.0 (see VCardWriter.h); `today` gives the years of birth.
void exportContactFile(QWidget* parent, const std::vector<contacts::Contact>& contacts,
                       std::chrono::year_month_day today);

// The birthdays as an iCalendar file (see BirthdayCalendar.h); the contacts whose birthday is no
// day of the calendar are named in a message.
void exportBirthdayCalendar(QWidget* parent, const std::vector<contacts::Contact>& contacts,
                            std::chrono::sys_seconds now);

} // namespace manager
