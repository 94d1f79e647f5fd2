// Consiste: checks and small conversions shared by every screen.
//
// MensErro(text, abort): shows `text` as an error box to the operator; with
//   abort true it then raises fw::EAbort, which ends the running command
//   without any further message; with false it returns.
// EmptyString(text): true for a text with nothing typed in it - empty, or
//   made only of blanks (space, tab, line breaks) and the literal
//   characters edit masks put in an untouched edit: . / - : _ ( ) ,
//   So "  /  /    " (an empty date edit) and "___.___.___-__" are empty.
// Ajusta(text, width): the fixed-width form of a code, so that codes of
//   one kind compare as text the way their numbers do: blanks around the
//   text are dropped, letters are put in upper case and the text is
//   right-aligned to `width` characters with leading zeros ("1" -> "0001",
//   "ab" -> "00AB"). A text with nothing but blanks gives "" (an empty
//   code stays empty, so emptiness checks still see it). A text already
//   wider than `width` comes back trimmed and in upper case but otherwise
//   whole: cutting it would silently turn it into a different code.
//   Width counts characters, not bytes.
// RoundDec(value, decimals): rounds half away from zero on the value as
//   written in decimal with 15 significant digits, so the binary
//   neighbours of decimal halves round as the decimals read:
//   1.005 -> 1.01, -1.005 -> -1.01, 2.675 -> 2.68. `decimals` from 0 to
//   15; anything else raises fw::Exception. NaN and infinities come back
//   unchanged.
// PictPess(personType): edit mask of a registration number by the
//   person-type code (blanks and case ignored):
//     "F" individual -> CPF  "999.999.999-99;0;_"
//     "J" company    -> CNPJ "99.999.999/9999-99;0;_"
//     anything else (foreigners, unknown or missing type) -> a mask that
//       shows the stored number as it is, up to the column's 20
//       characters: "cccccccccccccccccccc;0; " (unfilled places are
//       blanks), so no registration number is ever forced into a CPF or
//       CNPJ shape it does not have.
// Pure apart from MensErro; user-interface thread for MensErro.
#pragma once

#include <string>
#include <string_view>

namespace Consiste {

void MensErro(const std::string& text, bool abort);
bool EmptyString(std::string_view text);
std::string Ajusta(std::string_view text, int width);
double RoundDec(double value, int decimals);
std::string PictPess(std::string_view personType);

}  // namespace Consiste
