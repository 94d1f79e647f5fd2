// Pesqlista: the pick list of the shared library.
//
// PesquisaLista(source, keyField, title, flag, selection) opens the data
// source's dataset when it is closed and lets the operator tick rows of
// it, starting from the keys found in `selection`. When the operator
// presses OK, `selection` becomes the ticked keys in list order, as a key
// list ("'0001','0002'", see rpc/key_list.h: each key quoted, so every key
// without a quote stands verbatim in the text); on cancel it is left as
// it was. A title is a caption, optionally followed by "|" and a second
// text: shown under the caption, or on its own as the message when the
// dataset has no rows (then no list opens). A selection that is not a key
// list is treated as empty. The flag is accepted for the callers' sake
// (every caller passes false) and changes nothing. Returns whether the
// selection was replaced. User-interface thread only.
#pragma once

#include <string>

#include "data/data_source.h"

namespace Pesqlista {

bool PesquisaLista(fw::TDataSource& source, const std::string& keyField, const std::string& title,
                   bool flag, std::string& selection);

}  // namespace Pesqlista
