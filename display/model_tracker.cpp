#include "display/model_tracker.h"

#include <algorithm>
#include <functional>
#include <utility>

#include "display/model_json.h"
#include "display/grid_json.h"
#include "forms/application.h"
#include "forms/db_grid.h"

namespace display {

using nlohmann::json;

void ModelTracker::Reset() {
  sentForms_.clear();
  sentControls_.clear();
  lastOrder_.clear();
}

namespace {

void Append(std::string& list, const std::string& item) {
  if (!list.empty()) list += ',';
  list += item;
}

std::string Dump(const json& value) { return value.dump(-1, ' ', false, json::error_handler_t::replace); }

}  // namespace

// A grid is compared by its frame and its paint, and written as a change
// of the paint the page has (the entry's, unless it is not `known`).
void ModelTracker::CollectGrid(fw::TForm& form, fw::TDBGrid& grid, const std::string& parent,
                               TSentControl& entry, bool known, std::string& controls) {
  std::string frame = ControlFrame(form, grid);
  TGridPaint paint = PaintOf(grid);
  if (!known || entry.text != frame || !(*entry.paint == paint))
    Append(controls, frame + GridText(paint, known ? &*entry.paint : nullptr) + "}");
  entry.text = std::move(frame);
  entry.parent = parent;
  entry.paint = std::move(paint);
}

// The controls inside one that is not showing (a page of a page control
// that is not the active one, a hidden form) are not drawn: they keep the
// texts sent until their container shows again, when the same update
// brings what changed meanwhile. A control's own text is written while
// its container shows, so the page learns when it is hidden; one moved
// into a hidden container is written once more (the page has it where it
// was). Two controls of a form under one name are both written.
void ModelTracker::Collect(fw::TForm& form, std::string& controls, bool full) {
  std::string key;
  std::function<void(fw::TControl&, bool)> walk = [&](fw::TControl& parent, bool showing) {
    for (fw::TControl* child : parent.Controls()) {
      if (child->Name().empty()) continue;
      key.assign(form.Name()).append("/").append(child->Name());
      auto* grid = dynamic_cast<fw::TDBGrid*>(child);
      auto [at, added] = sentControls_.try_emplace(key);
      TSentControl& entry = at->second;
      bool known = !full && !added && entry.pass != pass_ && (!grid || entry.paint);
      entry.pass = pass_;
      if (known && !showing && entry.parent == parent.Name()) {
        // kept as sent
      } else if (grid) {
        CollectGrid(form, *grid, parent.Name(), entry, known, controls);
      } else {
        std::string text = ControlText(form, *child);
        if (!known || entry.text != text) Append(controls, text);
        entry = TSentControl{std::move(text), parent.Name(), std::nullopt, pass_};
      }
      walk(*child, showing && child->Visible());
    }
  };
  walk(form, form.Visible());
}

std::vector<std::string> ModelTracker::StackingOrder() {
  const auto& forms = fw::Screen().Forms();
  std::erase_if(stack_, [&](const fw::TForm* f) {
    return std::find(forms.begin(), forms.end(), f) == forms.end();
  });
  for (const fw::TForm* f : forms)
    if (std::find(stack_.begin(), stack_.end(), f) == stack_.end()) stack_.push_back(f);
  if (fw::TForm* active = fw::Screen().ActiveForm()) {
    std::erase(stack_, active);
    stack_.push_back(active);
  }
  std::stable_partition(stack_.begin(), stack_.end(), [](const fw::TForm* f) { return !f->Modal(); });
  std::stable_partition(stack_.begin(), stack_.end(),
                        [](const fw::TForm* f) { return f->FormStyle == fw::TFormStyle::fsMDIForm; });
  std::vector<std::string> order;
  for (const fw::TForm* f : stack_)
    if (f->Visible() && !f->Name().empty()) order.push_back(f->Name());
  return order;
}

std::string ModelTracker::EmptyText() {
  return "{\"seq\":" + std::to_string(++seq_) +
         ",\"full\":false,\"forms\":[],\"removedForms\":[],\"controls\":[],\"removedControls\":[],"
         "\"order\":" + (lastOrder_.empty() ? std::string("[]") : lastOrder_) + "}";
}

json ModelTracker::Empty() { return json::parse(EmptyText()); }

std::optional<std::string> ModelTracker::UpdateText(bool full) {
  std::string forms, controls;
  json removedForms = json::array(), removedControls = json::array();
  std::map<std::string, std::string> seenForms;
  ++pass_;
  full = full || std::exchange(whole_, false);
  try {
    for (fw::TForm* form : fw::Screen().Forms()) {
      if (form->Name().empty()) continue;
      std::string text = FormText(*form);
      auto sent = sentForms_.find(form->Name());
      if (full || sent == sentForms_.end() || sent->second != text) Append(forms, text);
      seenForms[form->Name()] = std::move(text);
      Collect(*form, controls, full);
    }
  } catch (...) {
    // The controls met so far were taken as sent: the page is sent
    // everything next time instead.
    whole_ = true;
    throw;
  }
  for (const auto& [name, text] : sentForms_)
    if (!seenForms.count(name)) removedForms.push_back(name);
  std::vector<std::string> gone;
  for (auto at = sentControls_.begin(); at != sentControls_.end();) {
    if (at->second.pass == pass_) {
      ++at;
      continue;
    }
    gone.push_back(at->first);
    at = sentControls_.erase(at);
  }
  std::sort(gone.begin(), gone.end());
  for (const std::string& key : gone) {
    size_t slash = key.find('/');
    std::string form = key.substr(0, slash);
    if (seenForms.count(form)) removedControls.push_back({{"form", form}, {"name", key.substr(slash + 1)}});
  }
  std::string orderText = Dump(json(StackingOrder()));
  bool changed = full || !forms.empty() || !controls.empty() || !removedForms.empty() ||
                 !removedControls.empty() || orderText != lastOrder_;
  sentForms_ = std::move(seenForms);
  lastOrder_ = orderText;
  if (!changed) return std::nullopt;
  std::string out = "{\"seq\":" + std::to_string(++seq_) + ",\"full\":" + (full ? "true" : "false");
  out += ",\"forms\":[" + forms + "],\"removedForms\":" + Dump(removedForms);
  out += ",\"controls\":[";
  out += controls;
  out += "],\"removedControls\":" + Dump(removedControls) + ",\"order\":" + orderText + "}";
  return out;
}

json ModelTracker::Update(bool full) {
  std::optional<std::string> text = UpdateText(full);
  return text ? json::parse(*text) : json(nullptr);
}

}  // namespace display
