// Display texts the module's screens and pick lists share; the stored
// values stay as they are.
//   RegistrationText: a customer's registration number laid into the mask
//     of its row's person type (IDTPIJURCLIE, see Consiste::PictPess).
//   ProductCodeText: a product code laid into the product-code picture.
// Raise what FieldByName raises when the row has no IDTPIJURCLIE.
#pragma once

#include <string>

#include "data/field.h"

namespace display_texts {

std::string RegistrationText(fw::TField& number);
std::string ProductCodeText(const fw::TField& code);

}  // namespace display_texts
