// Locale settings of the operators: Brazilian Portuguese.
//
// One immutable object holds every setting the text functions use. The
// functions take a settings reference that defaults to FormatSettings(),
// so tests may pass variants; the application never changes the default.
#pragma once

#include <array>
#include <string>

namespace fw {

// OLE Automation date: days since 30/12/1899, time of day as the fraction.
using TDateTime = double;

struct TFormatSettings {
  char DecimalSeparator = ',';
  char ThousandSeparator = '.';
  char DateSeparator = '/';
  char TimeSeparator = ':';
  std::string ShortDateFormat = "dd/mm/yyyy";
  std::string LongDateFormat = "dddd, d' de 'mmmm' de 'yyyy";
  std::string ShortTimeFormat = "hh:nn";
  std::string LongTimeFormat = "hh:nn:ss";
  // Index 0 is Sunday.
  std::array<std::string, 7> LongDayNames{"Domingo", "Segunda-feira", "Terça-feira", "Quarta-feira",
                                          "Quinta-feira", "Sexta-feira", "Sábado"};
  std::array<std::string, 7> ShortDayNames{"dom", "seg", "ter", "qua", "qui", "sex", "sáb"};
  // Index 0 is January.
  std::array<std::string, 12> LongMonthNames{"janeiro", "fevereiro", "março",    "abril",
                                             "maio",    "junho",     "julho",    "agosto",
                                             "setembro", "outubro",  "novembro", "dezembro"};
  std::array<std::string, 12> ShortMonthNames{"jan", "fev", "mar", "abr", "mai", "jun",
                                              "jul", "ago", "set", "out", "nov", "dez"};
};

// The operators' locale (pt-BR). Thread-safe: the object never changes.
const TFormatSettings& FormatSettings();

}  // namespace fw
