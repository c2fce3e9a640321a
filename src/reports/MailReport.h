#pragma once
// Sending the documents in the report buffer to the one customer they are
// addressed to (RptRecipient): the printed pages go into a PDF file in a
// folder of its own under the temporary directory, and the desktop's mail
// program (xdg-email) opens a new message with the file attached and the
// customer's address filled in.

#include <QString>

namespace reports {

// Whether the buffer holds documents for one customer only.
bool CanMailReport();

// The address handed to the mail program: the stored address, trimmed,
// when it is one plain address (letters, digits and . _ % + - before the
// "@", a dotted domain after it); empty otherwise, and the operator types
// it. Characters such as "?", "&" or "," would reach the mail program as
// further recipients or headers of the message.
QString MailAddress(const QString& stored);

// "Send by E-mail...": writes the PDF file and runs
// `xdg-email --attach FILE [ADDRESS]`. Where no mail program is set up
// (xdg-email missing or failing) the operator is told so and offered to
// save the PDF file instead. The file stays for the mail program to read;
// the system's cleaning of temporary files removes it.
void MailReport();

}  // namespace reports
