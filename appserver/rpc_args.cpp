#include "appserver/rpc_args.h"

namespace appserver {

namespace {

const char* KindText(TArgKind kind) {
  switch (kind) {
    case TArgKind::kString: return "um texto";
    case TArgKind::kNumber: return "um número";
    case TArgKind::kPacket: return "um pacote de dados (objeto JSON)";
  }
  return "";
}

bool HasKind(const nlohmann::json& value, TArgKind kind) {
  switch (kind) {
    case TArgKind::kString: return value.is_string();
    case TArgKind::kNumber: return value.is_number();
    case TArgKind::kPacket: return value.is_object();
  }
  return false;
}

}  // namespace

TArgs::TArgs(std::string_view method, const std::vector<TArgSpec>& specs,
             const nlohmann::json& params)
    : method_(method), specs_(specs), params_(params) {
  if (!params_.is_array())
    throw TRpcError(kInvalidParams,
                    method_ + ": os argumentos devem vir em uma lista, na ordem do método.");
  if (params_.size() != specs_.size())
    throw TRpcError(kInvalidParams, method_ + ": esperados " + std::to_string(specs_.size()) +
                                        " argumentos, recebidos " +
                                        std::to_string(params_.size()) + ".");
  for (int n = 1; n <= Count(); ++n) {
    const TArgSpec& wanted = specs_[n - 1];
    if (!HasKind(params_[n - 1], wanted.Kind))
      throw TRpcError(kInvalidParams, method_ + ": o argumento " + std::to_string(n) + " (" +
                                          wanted.Label + ") deve ser " + KindText(wanted.Kind) + ".");
  }
}

const nlohmann::json& TArgs::At(int n) const { return params_.at(n - 1); }

const std::string& TArgs::Str(int n) const { return At(n).get_ref<const std::string&>(); }

double TArgs::Num(int n) const { return At(n).get<double>(); }

const nlohmann::json& TArgs::Json(int n) const { return At(n); }

void TArgs::Invalid(int n, const std::string& why) const {
  throw TRpcError(kInvalidParams, method_ + ": o argumento " + std::to_string(n) + " (" +
                                      specs_.at(n - 1).Label + ") " + why);
}

std::string Shown(std::string_view key) {
  if (key.size() <= 20) return std::string(key);
  size_t cut = 20;
  while (cut > 0 && (static_cast<unsigned char>(key[cut]) & 0xC0) == 0x80) --cut;  // whole characters
  return std::string(key.substr(0, cut)) + "...";
}

}  // namespace appserver
