// Arbitrary text as an input event from the page, decoded onto a form
// with the kinds of control the screens use: edits, a masked date edit,
// a check box, radio buttons, a grid over a dataset and page tabs. The
// decoder must apply or refuse it; only a control's own fw::Exception (a
// validation) may come out, as the message loop would report it. No
// handler here opens a box, so nothing waits for an operator.
#include <cstdint>
#include <string>
#include <string_view>

#include "base/json_limits.h"
#include "data/client_dataset.h"
#include "data/data_source.h"
#include "display/display_interaction.h"
#include "display/input_decoder.h"
#include "forms/application.h"
#include "forms/check_boxes.h"
#include "forms/db_grid.h"
#include "forms/edit.h"
#include "forms/page_control.h"
#include "library/date_edit_plus.h"

namespace {

class TFuzzForm : public fw::TForm {
 public:
  explicit TFuzzForm(fw::TComponent* owner) : fw::TForm(owner) {
    SetName("frmFuzz");
    SetBounds(0, 0, 400, 300);
    std::string rows;
    for (int i = 1; i <= 40; ++i) rows += (i > 1 ? ",[\"" : "[\"") + std::to_string(i) + "\"]";
    cds.SetData(fw::TDataPacket::Parse(
        R"({"fields": [{"name": "NRPEDIDO", "type": "string", "size": 10}], "rows": [)" + rows + "]}"));
    auto place = [this](fw::TControl& c, int top) {
      c.SetParent(this);
      c.SetBounds(8, top, 150, 21);
    };
    place(Create<fw::TEdit>("edtNome"), 8);
    place(Create<fw::TDateEditPlus>("depData"), 32);
    place(Create<fw::TCheckBox>("chbAtivo"), 56);
    place(Create<fw::TRadioButton>("rbtA"), 80);
    place(Create<fw::TRadioButton>("rbtB"), 104);
    auto& grid = Create<fw::TDBGrid>("dbgLista");
    grid.SetParent(this);
    grid.SetBounds(170, 8, 200, 100);
    grid.SetDataSource(&dts);
    auto& pages = Create<fw::TPageControl>("pgcPaginas");
    pages.SetParent(this);
    pages.SetBounds(170, 120, 200, 100);
    for (const char* name : {"tbsUm", "tbsDois"}) Create<fw::TTabSheet>(name, &pages);
  }
  fw::TClientDataSet cds{"cdsLista"};
  fw::TDataSource dts{"dtsLista", &cds};
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static display::DisplayInteraction interaction;
  static display::InputDecoder decoder(interaction);
  static TFuzzForm* form = [] {
    TFuzzForm* f = nullptr;
    fw::Application().CreateForm(f);
    f->Show();
    return f;
  }();
  (void)form;
  nlohmann::json event;
  if (fw::ParseBoundedJson(std::string_view(reinterpret_cast<const char*>(data), size), event) !=
      fw::TJsonParse::Ok)
    return 0;
  try {
    decoder.Apply(event);
  } catch (const fw::Exception&) {
    // a handler's refusal (an edit's validation): the message loop reports it
  }
  fw::Application().ProcessMessages();
  return 0;
}
