// Velkora: the facts the host knows about the session (signed-in operator,
// current branch, application server and the session's token), the
// pictures of coded fields, and starting another host module by its code.
//
// The host sets the facts at start and at each sign-in (SetHostFacts) and
// installs its module loader (SetModuleLoader); modules only read them.
// User-interface thread only.
//
// Pictures of coded fields. A picture is an edit mask "picture;0;_" whose
// digit groups are the levels of a code tree; the literals are not stored,
// so a stored code holds only the digits.
//   type 0 (ptProduto), product tree code CDARVPROD:
//       "99.99.999;0;_"  - 3 levels of 2, 2 and 3 digits, 7 digits in all,
//       stored as 7 digits in the string(20) column ("0101001" is shown as
//       "01.01.001"; group 01, subgroup 01, product 001). Products are the
//       leaves, on level 3.
// Any other picture type raises fw::Exception.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace Velkora {

struct THostFacts {
  std::string Operador;       // code of the logged-in operator
  std::string FiliProc;       // code of the host's current branch
  std::string NomeFiliProc;   // its name (FILIAL.NMFILIAL)
  bool ModuFili = false;      // the host fixes the branch for the module
  std::string WebURL;         // application-server host, e.g. "127.0.0.1"
  int WebPort = 0;            // application-server port
  std::string WebToken;       // the signed-in session's token (in memory only)
};

void SetHostFacts(const THostFacts& facts);
const THostFacts& HostFacts();

std::string Operador();
std::string FiliProc();
std::string NomeFiliProc();
bool ModuFili();
std::string WebURL();
int WebPort();
std::string WebToken();

// Picture types of coded fields.
enum TPictureType : int { ptProduto = 0 };

// A code picture with its levels.
struct TPictObj {
  std::string Mascara;          // the edit mask ("99.99.999;0;_")
  int TtNiveis = 0;             // number of levels
  std::vector<int> TamNiveis;   // digits of each level, first level first
  int TtDigitos = 0;            // digits of a full code (sum of TamNiveis)
};

// Edit mask of a coded field; raises fw::Exception for an unknown type.
std::string DBPict(int pictureType);
// The picture object of a coded field, its levels counted from the mask.
TPictObj DBPictObj(int pictureType);

// Starts another host module by its code, with one parameter, through the
// loader the host installed. Raises fw::Exception "Módulo <código> não
// encontrado." when no loader is installed (and "Módulo não informado."
// for an empty code); whatever the loader raises passes on unchanged.
using TModuleLoader = std::function<void(const std::string& moduleCode, const std::string& param)>;
// Installs the loader (an empty function removes it); returns the previous one.
TModuleLoader SetModuleLoader(TModuleLoader loader);
void LoadBPL(const std::string& moduleCode, const std::string& param);

}  // namespace Velkora
