// Setting operators' passwords in the database (OPERADOR.DSHASHSENHA).
//
// SetPassword stores the hash of one operator's password; an unknown
// operator or an empty password raises std::invalid_argument (Portuguese)
// and changes nothing; a new password ends the operator's open sessions.
// SetEveryPassword gives every operator the same
// password through one hash (demo data: the passwords are documented).
// Database failures raise EDatabaseError.
#pragma once

#include <string>
#include <string_view>

#include "sql/sql_driver.h"

namespace appserver {

void SetPassword(fw::SqlDriver& db, const std::string& op, std::string_view password);
void SetEveryPassword(fw::SqlDriver& db, std::string_view password);

}  // namespace appserver
