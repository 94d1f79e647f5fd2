#include "library/field_decls.h"

namespace fields {

void Declare(fw::TDataSet& dataSet, std::span<const TFieldDecl> decls) {
  for (const TFieldDecl& decl : decls) {
    fw::TField& field = dataSet.AddField(decl.Name, decl.Type, decl.Size,
                                         decl.Flags & kCalculated ? fw::TFieldKind::fkCalculated
                                                                  : fw::TFieldKind::fkData);
    field.DisplayLabel = decl.Label;
    field.DisplayFormat = decl.Display;
    field.EditFormat = decl.Edit;
    field.Origin = decl.Origin;
    field.DisplayWidth = decl.DisplayWidth;
    field.Visible = !(decl.Flags & kHidden);
    field.Required = decl.Flags & kRequired;
    if (decl.Flags & kNoProvider) field.ProviderFlags = 0;
  }
}

}  // namespace fields
