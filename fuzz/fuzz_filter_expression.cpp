// Parses arbitrary text as a filter expression and applies it to a small
// client dataset. Malformed text must raise fw::EFilterError with a
// position inside the text (or just past its end).
#include <cstdint>
#include <string_view>

#include "base/errors.h"
#include "data/client_dataset.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  static const fw::TDataPacket packet = fw::TDataPacket::Parse(
      R"({"fields":[{"name":"CDFILIAL","type":"string","size":4},
                    {"name":"NRPEDIDO","type":"string","size":10},
                    {"name":"QT","type":"float"},{"name":"DT","type":"datetime"},
                    {"name":"N","type":"integer"}],
          "rows":[["0001","0000000123",1.5,45000.5,3],["0002",null,null,null,null],
                  ["0001","0000000124",-2,0,-7]]})");
  fw::TClientDataSet cds("cdsFiltro");
  cds.SetData(packet);
  cds.SetFiltered(true);
  try {
    cds.SetFilter(text);
  } catch (const fw::EFilterError& e) {
    if (e.position() < 1 || e.position() > size + 1) __builtin_trap();
    if (cds.RecordCount() != 3) __builtin_trap();
    return 0;
  } catch (const fw::Exception&) {
    return 0;
  }
  int count = 0;
  for (cds.First(); !cds.Eof(); cds.Next()) ++count;
  if (count != cds.RecordCount() || count > 3) __builtin_trap();
  return 0;
}
