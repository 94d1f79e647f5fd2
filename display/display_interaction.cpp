#include "display/display_interaction.h"

#include "data/dataset.h"
#include "forms/application.h"

namespace display {

using nlohmann::json;

namespace {

const char* TypeName(fw::TMsgDlgType type) {
  switch (type) {
    case fw::TMsgDlgType::mtConfirmation: return "confirmation";
    case fw::TMsgDlgType::mtError: return "error";
    case fw::TMsgDlgType::mtWarning: return "warning";
    default: return "information";
  }
}

json ButtonNames(fw::TMsgDlgButtons buttons) {
  json names = json::array();
  if (buttons & fw::mbYes) names.push_back("yes");
  if (buttons & fw::mbNo) names.push_back("no");
  if (buttons & fw::mbOK) names.push_back("ok");
  if (buttons & fw::mbCancel) names.push_back("cancel");
  if (names.empty()) names.push_back("ok");
  return names;
}

// Rows of the pick list read without moving the dataset's cursor.
json PickRows(fw::TDataSet& ds, const std::string& keyField, const std::vector<std::string>& picked,
              json& columns) {
  std::vector<fw::TField*> fields;
  for (int i = 0; i < ds.FieldCount(); ++i)
    if (ds.Fields(i).Visible) fields.push_back(&ds.Fields(i));
  // Widths in characters: the field's display width, else its size.
  for (fw::TField* f : fields) {
    int width = f->DisplayWidth > 0 ? f->DisplayWidth : f->Size() > 0 ? f->Size() : 10;
    columns.push_back({{"field", f->FieldName}, {"title", f->DisplayName()}, {"width", width}});
  }
  fw::TField& key = ds.FieldByName(keyField);
  json rows = json::array();
  int previous = ds.SetDisplayRecord(0);
  for (int recNo = 1; recNo <= ds.RecordCount(); ++recNo) {
    ds.SetDisplayRecord(recNo);
    json cells = json::array();
    for (fw::TField* f : fields) cells.push_back(f->DisplayText());
    std::string k = key.AsString();
    bool on = std::find(picked.begin(), picked.end(), k) != picked.end();
    rows.push_back({{"key", k}, {"cells", cells}, {"picked", on}});
  }
  ds.SetDisplayRecord(previous);
  return rows;
}

}  // namespace

void DisplayInteraction::Wait(const std::function<bool()>& answered) {
  if (Changed) Changed();
  while (!answered()) {
    if (fw::Application().Terminated()) return;
    fw::Application().ProcessMessage(true);
  }
}

int DisplayInteraction::MessageDlg(const std::string& text, fw::TMsgDlgType type,
                                   fw::TMsgDlgButtons buttons, int) {
  long id = nextId_++;
  box_ = json{{"id", id}, {"text", text}, {"type", TypeName(type)}, {"buttons", ButtonNames(buttons)}};
  boxResult_.reset();
  Wait([this] { return boxResult_.has_value(); });
  int result = boxResult_.value_or((buttons & fw::mbNo) ? fw::mrNo : fw::mrCancel);
  box_.reset();
  boxResult_.reset();
  if (Changed) Changed();
  return result;
}

void DisplayInteraction::ShowError(const std::string& text) {
  MessageDlg(text, fw::TMsgDlgType::mtError, fw::mbOK, 0);
}

fw::TPickListResult DisplayInteraction::PickList(const fw::TPickListRequest& request) {
  long id = nextId_++;
  json columns = json::array();
  json rows = request.DataSet ? PickRows(*request.DataSet, request.KeyField, request.Picked, columns)
                              : json::array();
  list_ = json{{"id", id},         {"title", request.Title}, {"subtitle", request.Subtitle},
               {"multi", request.MultiSelect}, {"columns", columns}, {"rows", rows}};
  listResult_.reset();
  Wait([this] { return listResult_.has_value(); });
  fw::TPickListResult result = listResult_.value_or(fw::TPickListResult{});
  list_.reset();
  listResult_.reset();
  if (Changed) Changed();
  return result;
}

void DisplayInteraction::BusyChanged(int depth, int kind) {
  busyDepth_ = depth;
  busyKind_ = kind;
  if (Changed) Changed();
}

json DisplayInteraction::Overlay() const {
  return {{"messagebox", box_ ? *box_ : json(nullptr)},
          {"picklist", list_ ? *list_ : json(nullptr)},
          {"busy", {{"depth", busyDepth_}, {"kind", busyKind_}}}};
}

bool DisplayInteraction::Answer(long id, const std::string& result) {
  if (!box_ || (*box_)["id"] != id) return false;
  static const std::pair<const char*, int> kResults[] = {
      {"yes", fw::mrYes}, {"no", fw::mrNo}, {"ok", fw::mrOk}, {"cancel", fw::mrCancel}};
  for (auto [name, value] : kResults)
    if (result == name) {
      for (const auto& b : (*box_)["buttons"])
        if (b == name) {
          boxResult_ = value;
          return true;
        }
    }
  return false;
}

bool DisplayInteraction::Pick(long id, const std::vector<std::string>& keys, bool cancel) {
  if (!list_ || (*list_)["id"] != id) return false;
  fw::TPickListResult result;
  result.Accepted = !cancel;
  if (!cancel) {
    // Keep only keys of the list, in list order.
    for (const auto& row : (*list_)["rows"]) {
      std::string key = row["key"];
      if (std::find(keys.begin(), keys.end(), key) != keys.end()) result.Picked.push_back(key);
    }
    if (!(*list_)["multi"].get<bool>() && result.Picked.size() > 1) result.Picked.resize(1);
  }
  listResult_ = result;
  return true;
}

}  // namespace display
