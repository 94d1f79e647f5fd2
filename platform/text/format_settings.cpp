// The operators' locale: one default settings object shared by every caller.
#include "text/format_settings.h"

namespace fw {

const TFormatSettings& FormatSettings() {
  // Function-local static: initialised once, thread-safe, never modified.
  static const TFormatSettings kSettings;
  return kSettings;
}

}  // namespace fw
