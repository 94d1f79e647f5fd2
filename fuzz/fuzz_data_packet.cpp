// Loads arbitrary text as a data packet into a client dataset with and
// without persistent fields, then walks, edits and writes it back. A
// rejected packet must raise fw::Exception and leave the dataset as it was.
// The one-pass reading must answer what reading the whole document does,
// and reading a reply while it arrives what reading its whole text does.
#include <cstdint>
#include <optional>
#include <string_view>

#include <nlohmann/json.hpp>

#include "base/errors.h"
#include "data/client_dataset.h"
#include "rpc/arriving_text.h"

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

// The text as a reply's result, read whole and read in parts of 7 bytes.
void CompareArriving(std::string_view text) {
  std::string reply = "{\"id\":1,\"result\":" + std::string(text) + "}";
  std::vector<nlohmann::json> wholeOthers, arrivingOthers;
  std::optional<fw::TDataPacket> whole = fw::TDataPacket::ParseMember(reply, {"result"}, wholeOthers);
  fw::TArrivingText arriving;
  for (size_t at = 0; at < reply.size(); at += 7) arriving.Add(reply.data() + at, std::min<size_t>(7, reply.size() - at));
  arriving.Close();
  std::optional<fw::TDataPacket> read = fw::TDataPacket::ParseMember(arriving, {"result"}, arrivingOthers);
  if (whole.has_value() != read.has_value() || arriving.Whole() != reply) __builtin_trap();
  if (whole && (whole->Fields != read->Fields || whole->Rows != read->Rows || wholeOthers != arrivingOthers))
    __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  CompareArriving(text);
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
