#include "library/display_texts.h"

#include "data/dataset.h"
#include "library/consiste.h"
#include "library/velkora.h"
#include "text/format_mask.h"

namespace display_texts {

std::string RegistrationText(fw::TField& number) {
  const std::string mask =
      Consiste::PictPess(number.DataSet().FieldByName("IDTPIJURCLIE").AsString());
  return fw::FormatMaskText(mask, number.AsString());
}

std::string ProductCodeText(const fw::TField& code) {
  return fw::FormatMaskText(Velkora::DBPict(Velkora::ptProduto), code.AsString());
}

}  // namespace display_texts
