// Xlb93310: the product search of the pick lists.
//
// SQL_Pesquisa_Produto(branch, note, query, showPicture) gives the second
// part of the product pick list's title ("Produto|<this text>"), to be
// called after `query` (the product lookup) was opened:
//   - when the query is open and has no rows: "Não há produto cadastrado."
//     or, when the query is restricted to the branch (it declares the
//     parameter P_CDFILIAL) and a branch is given,
//     "Não há produto cadastrado para a filial <branch>.";
//   - otherwise, with showPicture true, how the codes read:
//     "Código no formato 99.99.999" (the product picture of
//     Velkora.DBPict without its storage settings); with false, "".
//   A non-empty `note` is added at the end, after " - ".
// The query is only looked at, never opened, moved or changed.
#pragma once

#include <string>

namespace fw {
class TDataSet;
}

namespace Xlb93310 {

std::string SQL_Pesquisa_Produto(const std::string& branch, const std::string& note,
                                 fw::TDataSet& query, bool showPicture);

}  // namespace Xlb93310
