// Loads arbitrary text as a data packet into a client dataset with and
// without persistent fields, then walks, edits and writes it back. A
// rejected packet must raise fw::Exception and leave the dataset as it was.
// The one-pass reading must answer what reading the whole document does.
#include <cstdint>
#include <optional>
#include <string_view>

#include <nlohmann/json.hpp>

#include "base/errors.h"
#include "data/client_dataset.h"

namespace {

void Exercise(fw::TClientDataSet& cds, const fw::TDataPacket& packet) {
  std::string before = cds.Active() ? cds.Data().ToString() : std::string();
  try {
    cds.SetData(packet);
  } catch (const fw::Exception&) {
    if ((cds.Active() ? cds.Data().ToString() : std::string()) != before) __builtin_trap();
    return;
  }
  for (cds.First(); !cds.Eof(); cds.Next()) {
    for (int i = 0; i < cds.FieldCount(); ++i) {
      (void)cds.Fields(i).DisplayText();
      (void)cds.Fields(i).Text();
    }
  }
  if (!cds.IsEmpty()) {
    cds.First();
    cds.Edit();
    try {
      cds.Fields(0).SetAsString("S");
      cds.Post();
    } catch (const fw::Exception&) {
      cds.Cancel();
    }
  }
  std::string text = cds.Data().ToString();
  fw::TDataPacket again = fw::TDataPacket::Parse(text);
  if (again.ToString() != text) __builtin_trap();
  cds.CancelUpdates();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  fw::TDataPacket packet;
  std::optional<fw::TDataPacket> byDocument;
  try {
    byDocument = fw::TDataPacket::FromJson(nlohmann::json::parse(text));
  } catch (const std::exception&) {
  }
  try {
    packet = fw::TDataPacket::Parse(text);
  } catch (const fw::Exception&) {
    if (byDocument) __builtin_trap();
    return 0;
  }
  if (!byDocument || packet.Fields != byDocument->Fields || packet.Rows != byDocument->Rows ||
      packet.Changes != byDocument->Changes)
    __builtin_trap();
  fw::TClientDataSet dynamic("cdsDinamico");
  Exercise(dynamic, packet);
  fw::TClientDataSet declared("cdsDeclarado");
  declared.AddField("IDCHECK", fw::TFieldType::ftString, 1);
  declared.AddField("NRPEDIDO", fw::TFieldType::ftString, 10);
  declared.AddField("Calc", fw::TFieldType::ftString, 20, fw::TFieldKind::fkCalculated);
  declared.OnCalcFields = [](fw::TDataSet& ds) {
    ds.FieldByName("Calc").SetAsString(ds.FieldByName("NRPEDIDO").AsString().substr(0, 5));
  };
  Exercise(declared, packet);
  return 0;
}
