#include "display/model_tracker.h"

#include <algorithm>
#include <functional>

#include "display/model_json.h"
#include "forms/application.h"

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

void ModelTracker::Collect(fw::TForm& form, std::string& controls,
                           std::map<std::string, std::string>& seen, bool full) {
  std::function<void(fw::TControl&)> walk = [&](fw::TControl& parent) {
    for (fw::TControl* child : parent.Controls()) {
      if (child->Name().empty()) continue;
      std::string key = form.Name() + "/" + child->Name();
      std::string text = ControlText(form, *child);
      if (full || sentControls_[key] != text) Append(controls, text);
      seen[key] = std::move(text);
      walk(*child);
    }
  };
  walk(form);
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
  std::map<std::string, std::string> seenForms, seenControls;
  for (fw::TForm* form : fw::Screen().Forms()) {
    if (form->Name().empty()) continue;
    std::string text = FormText(*form);
    if (full || sentForms_[form->Name()] != text) Append(forms, text);
    seenForms[form->Name()] = std::move(text);
    Collect(*form, controls, seenControls, full);
  }
  for (const auto& [name, text] : sentForms_)
    if (!seenForms.count(name)) removedForms.push_back(name);
  for (const auto& [key, text] : sentControls_)
    if (!seenControls.count(key)) {
      size_t slash = key.find('/');
      std::string form = key.substr(0, slash);
      if (seenForms.count(form)) removedControls.push_back({{"form", form}, {"name", key.substr(slash + 1)}});
    }
  std::string orderText = Dump(json(StackingOrder()));
  bool changed = full || !forms.empty() || !controls.empty() || !removedForms.empty() ||
                 !removedControls.empty() || orderText != lastOrder_;
  sentForms_ = std::move(seenForms);
  sentControls_ = std::move(seenControls);
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
