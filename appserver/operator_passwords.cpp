#include "appserver/operator_passwords.h"

#include <stdexcept>

#include "appserver/password_hash.h"

namespace appserver {

void SetPassword(fw::SqlDriver& db, const std::string& op, std::string_view password) {
  if (password.empty()) throw std::invalid_argument("A senha não pode ser vazia.");
  db.Execute("UPDATE OPERADOR SET DSHASHSENHA = :H WHERE CDOPERADOR = :OP",
             {{"H", HashPassword(password)}, {"OP", op}});
  if (db.RowsAffected() == 0)
    throw std::invalid_argument("Operador " + op + " não cadastrado; nenhuma senha foi alterada.");
  // A new password ends the sessions opened with the old one.
  db.Execute("DELETE FROM SESSAOOPER WHERE CDOPERADOR = :OP", {{"OP", op}});
}

void SetEveryPassword(fw::SqlDriver& db, std::string_view password) {
  db.Execute("UPDATE OPERADOR SET DSHASHSENHA = :H", {{"H", HashPassword(password)}});
}

}  // namespace appserver
