// The screen's menu items (added to the base screen's main menu) and its
// message table.
#include "confirmation/conf_pedido_form.h"

using namespace fw;

namespace {

// The screen's messages, key and text, in table order.
constexpr const char* kMessages[] = {
    "FILIAL|Filial deve ser informada.",
    "FILIAL_NAO_CAD|Filial não cadastrada.",
    "PE|PE",
    "AN|AN",
    "LQ|LQ",
    "CN|CN",
    "CF|CF",
    "AP|AP",
    "PedidoPEAN|Confirma operação?",
    "ItemPedidoPECF|Deseja confirmar os itens informados?",
    "ItemPedidoCFPE|Esta operação excluirá a confirmação do(s) item(s) selecionado(s). Deseja "
    "continuar?",
    "NENHUM_CHECK_PEDIDO|Pedidos devem ser informados.",
    "NENHUM_CHECK_ITEMPEDIDO|Itens do pedido devem ser informados.",
    "CANCELAR|Cancelar operação?",
    "ERRO_CONSISTENCIA|Esta operação não pode ser realizada. Atualize os dados.",
    "ERRO_CONSISTENCIA2|Operação bloqueada. Pedido em alteração por outro usuário.",
    "CDJUST_NULL|Justificativa deve ser informada.",
    "JUST_N_CAD|Justificativa de exclusão do historico não cadastrada.",
    "ItemPedCFPE|Confirma operação de exclusão dos itens informados?",
    "ORCAMENTO|Orçamento",
    "PEDIDO|Pedido",
    "N|Normal",
    "S|Personalizado",
    "PA|PA",
    "OperBloq|Operação bloqueada. Pedido em alteração por outro usuário.",
    "P|Promocional",
    "PED_SEM_TRANS|Operação bloqueada. Não há transportadora informada para o pedido.",
    "VAR_PED_SEM_TRANS|Não há transportadora informada para o(s) pedido(s) que não foram "
    "marcados.",
    "Alvara_Licenca|Operação bloqueada. Produto com inconsistências no alvará ou licença.",
    "Ped_Alvara_Licenca|Operação bloqueada. Pedido possui produto(s) com inconsistências no "
    "alvará ou licença.",
    "N_LOG_OPER|Operador logado não está associado à um vendedor para receber comissão. "
    "Deseja continuar?",
    "Vend_n_relac|Não há operador parametrizado para o vendedor logado.",
};

}  // namespace

void TfrmConfPedido::ComposeMenus() {
  // Page items at the top of "Operação", in page order, then a separator.
  struct PageItem {
    TMenuItem** Item;
    const char *Name, *Caption;
  };
  const PageItem pages[] = {
      {&mnuPedido, "mnuPedido", "&Pedidos"},
      {&mnuDadosGerais, "mnuDadosGerais", "&Dados Gerais"},
      {&mnuItemPedido, "mnuItemPedido", "It&ens do Pedido"},
      {&mnuFormaPgto, "mnuFormaPgto", "&Modalidade de Pagamento"},
      {&mnuTransport, "mnuTransport", "&Transportadora"},
      {&mnuObservacao, "mnuObservacao", "&Observação"},
      {&mnuLinha1, "mnuLinha1", "-"},
  };
  int index = 0;
  for (const PageItem& p : pages) {
    *p.Item = &Create<TMenuItem>(p.Name);
    (*p.Item)->SetCaption(p.Caption);
    mnuOperacao->Insert(**p.Item, index++);
  }
  mnuPedido->SetChecked(true);

  for (TMenuItem* item : {mnuIncluir, mnuAlterar, mnuExcluir, mnuProcurar, mnuVerificar})
    item->SetEnabled(false);
  mnuLinha4 = &Create<TMenuItem>("mnuLinha4");
  mnuLinha4->SetCaption("-");
  mnuManutencao->Insert(*mnuLinha4);
  mnuFiltrar = &Create<TMenuItem>("mnuFiltrar");
  mnuFiltrar->SetCaption("Fi&ltrar");
  mnuFiltrar->ShortCut = TextToShortCut("Ctrl+L");
  mnuManutencao->Insert(*mnuFiltrar);
}

void TfrmConfPedido::ComposeMessages() {
  msgPadrao->Lines.Clear();
  for (const char* line : kMessages) msgPadrao->Lines.Add(line);
}
