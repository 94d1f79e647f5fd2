// The screen's data: the persistent fields of the client datasets that
// receive the application server's packets, the direct queries on the
// host's shared database connection and the data sources binding them.
#include <span>

#include "confirmation/conf_pedido_form.h"
#include "library/field_decls.h"

using namespace fw;

namespace {

using namespace fields;
using TFieldSpec = fields::TFieldDecl;

constexpr TFieldSpec kPedido[] = {
    {"DsPedido", S, 70, "", kCalculated},
    {"IDCHECK", S, 1, "4", kHidden | kNoProvider},
    {"IDSITPEDIDO", S, 1, "Sit.", kHidden},
    {"NRPEDIDO", S, 10, "Nº Pedido"},
    {"NMFANTCLIE", S, 50, "Cliente"},
    {"CDCLIENTE", S, 21, "", kHidden},
    {"DTPEDIDO", D, 0, "Data Pedido"},
    {"DTENTPED", D, 0, "Data Entrega"},
    {"CDFILIAL", S, 4, "", kHidden},
    {"CDVENDEDOR", S, 4, "", kHidden},
    {"CDMODPGTO", S, 5, "", kHidden},
    {"CDFORMPGTO", S, 2, "", kHidden},
    {"IDTPFORPGTPED", S, 1, "", kHidden},
    {"DSMODPGTO", S, 100, "", kHidden, "", "", "", 100},
    {"NMFORMPGTO", S, 30, "", kHidden},
    {"NRDIAPGFIXPED", F, 0, "", kHidden},
    {"NRPARCPGTOPED", F, 0, "", kHidden},
    {"IDTIPOPEDIDO", S, 1, "", kHidden},
    {"CDFILIALPED", S, 4, "", kHidden},
    {"IDPRIOPED", S, 1, "", kHidden},
    {"DSPEDVEN", S, 200, "", kHidden},
    {"DSPEDCLI", S, 200, "", kHidden},
    {"NMFANVEN", S, 50, "Vendedor", kHidden},
    {"VRPECOMVDPED", F, 0, "", kHidden, "#,##0.000", "#,##0.000"},
    {"NMFILIAL", S, 30, "", kHidden},
    {"NMFANTTRAN", S, 40, "", kHidden},
    {"NRINSJURTRAN", S, 20, "", kHidden},
    {"CDTIPTRANS", S, 4, "", kHidden},
    {"IDPGFRETTRAN", S, 1, "", kHidden},
    {"NRINSJURCLIE", S, 20, "Inscrição Jurídica", kHidden},
    {"NMTIPTRANS", S, 40, "", kHidden},
    {"IDTPIJURCLIE", S, 1, "", kHidden},
    {"NMTIPOOPER", S, 30, "Tipo de Operação", kNoProvider},
    {"VRPBRUVOLPED", F, 0, "Peso Bruto", 0, "##,#0.00000"},
    {"VRPLIQVOLPED", F, 0, "Peso Liquido", 0, "##,#0.00000"},
};

constexpr TFieldSpec kItemPedido[] = {
    {"VrTotal", F, 0, "Valor Total", kCalculated},
    {"SgUnidPai", S, 20, "", kCalculated},
    {"IDCHECK", S, 1, "", kHidden | kNoProvider},
    {"IDSITITEMPED", S, 1, "", kHidden},
    {"NRITEMPED", S, 10, "Nº Item Pedido"},
    {"CDARVPROD", S, 20, "Produto"},
    {"NMPRODUTO", S, 50, "Nome do Produto"},
    {"QTITEMPED", F, 0, "Quantidade"},
    {"SGUNIDADE", S, 10, "Un."},
    {"VRPREUNITPED", F, 0, "Preço Unitário"},
    {"NRPEDIDO", S, 10, "", kHidden},
    {"CDFILIAL", S, 4, "", kHidden},
    {"DSITEMPED", S, 2000, "", kHidden},
    {"QTITEMPED2", F, 0, "", kHidden, "0.000", "0.000"},
    {"SGFATPRECO", S, 4, "", kHidden},
    {"VRDESITPED", F, 0, "Vr. Desc."},
    {"DTENTITPED", D, 0, "Entrega"},
    {"IDITPEDDIFER", S, 1, "Tipo"},
    {"CDPRODESTO", S, 10, "", kHidden},
    {"CDPRODUTO", S, 10, "", kHidden},
    {"IDITEMERRO", S, 1, "", kHidden},
};

constexpr TFieldSpec kPosiEstoq[] = {
    {"DSALMOXARIFE", S, 30, "Almoxarifado", 0, "", "", "DBVELKORA.ALMOXARIFADO.DSALMOXARIFE"},
    {"DSLOCALESTOQ", S, 30, "Localização", 0, "", "", "DBVELKORA.LOCALESTOQUE.DSLOCALESTOQ"},
    {"NRLOTEESTQ", S, 20, "Lote", 0, "", "", "DBVELKORA.POSESTATU.NRLOTEESTQ"},
    {"NRSUBLOTE", S, 4, "Sub. Lote", 0, "", "", "DBVELKORA.POSESTATU.NRSUBLOTE"},
    {"QTTOTALESTOQ", F, 0, "Qtde. Estoque", 0, "#,##0.000", "", "DBVELKORA.POSESTATU.QTTOTALESTOQ"},
    {"QTRESPRODPED", F, 0, "Qtde. Reservada", 0, "#,##0.000"},
    {"CDFILIAL", S, 4, "", kHidden, "", "", "DBVELKORA.POSESTATU.CDFILIAL"},
    {"CDALMOXARIFE", S, 6, "", kHidden, "", "", "DBVELKORA.POSESTATU.CDALMOXARIFE"},
    {"CDLOCALESTOQ", S, 6, "", kHidden, "", "", "DBVELKORA.POSESTATU.CDLOCALESTOQ"},
    {"IDDISPCONPED", S, 1, "", kHidden, "", "", "DBVELKORA.LOCALESTOQUE.IDDISPCONPED"},
    {"NRPEDIDO", S, 10, "", kHidden},
    {"NRITEMPED", S, 10, "", kHidden},
    {"CDARVPROD", S, 20, "", kHidden},
    {"CDPRODUTO", S, 10},
    {"DTENTRLOTE", D, 0, "Entrada do Lote", kHidden},
    {"DTVALILOTE", D, 0, "Validade do Lote", kHidden},
    {"SGUNIDADE", S, 10},
    {"CDPRODRES", S, 10},
    {"QTDISPONIVEL", F, 0, "Qtde. Disponível", 0, "#,##0.000", "", "DBVELKORA.RESERVAPED.QTDISPONIVEL"},
};

constexpr TFieldSpec kPrazoPgto[] = {
    {"NRPEDIDO", S, 10, "Nº Pedido", 0, "", "", "PRAZOPGTOPED.NRPEDIDO"},
    {"NRDIASPGTOPED", F, 0, "Prazo (dias)"},
    {"VRPERCPGTOPED", F, 0, "Percentual", 0, "", "", "PRAZOPGTOPED.VRPERCPGTOPED"},
    {"CDFILIAL", S, 4},
    {"PREVISAO", D, 0, "Previsão", 0, "", "", "DBVELKORA.PEDIDO.DTPEDIDO"},
};

constexpr TFieldSpec kObser[] = {
    {"NRPEDIDO", S, 10, "Nº Pedido", 0, "", "", "OBSPEDIDO.NRPEDIDO"},
    {"TXOBSPED", B, 0, "", 0, "", "", "OBSPEDIDO.TXOBSPED"},
    {"CDFILIAL", S, 4},
};

constexpr TFieldSpec kParamPedido[] = {
    {"IDEXIBPEDIDO", S, 1, "", 0, "", "", "DBVELKORA.PARAMPEDIDO.IDEXIBPEDIDO"},
    {"IDMENSVEND", S, 1, "", 0, "", "", "DBVELKORA.PARAMPEDIDO.IDMENSVEND"},
    {"IDUTRESELOTE", S, 1, "", 0, "", "", "DBVELKORA.PARAMPEDIDO.IDUTRESELOTE"},
    {"IDOBRTPOPPED", S, 1},
    {"IDTABPRECO", S, 1},
    {"IDEXIBIMPITPED", S, 1},
    {"IDOBRINFTRAN", S, 1},
    {"IDEXIBVENDCOM", S, 1},
};

constexpr TFieldSpec kSomatorio[] = {
    {"CDFILIAL", S, 4, "", kHidden},
    {"NRPEDIDO", S, 10, "Nº Pedido"},
    {"QTITEMPED", F, 0, "", 0, "", "", "DBVELKORA.ITEMPEDIDO.QTITEMPED"},
    {"VRPREUNITPED", F, 0, "", 0, "", "", "DBVELKORA.ITEMPEDIDO.VRPREUNITPED"},
    {"VRDESITPED", F, 0, "", 0, "", "", "DBVELKORA.ITEMPEDIDO.VRDESITPED"},
};

constexpr TFieldSpec kItemErro[] = {{"COUNT", F}};
constexpr TFieldSpec kOperTPed[] = {{"CDOPERADOR", S, 12}};

constexpr TFieldSpec kFilial[] = {{"CDFILIAL", S, 8, "Código", kRequired}, {"NMFILIAL", S, 30, "Nome"}};
constexpr TFieldSpec kPesqFilial[] = {{"CDFILIAL", S, 8, "", kRequired}, {"NMFILIAL", S, 30}};
constexpr TFieldSpec kPesqUnid[] = {{"SGUNIDADE", S, 10}};
constexpr TFieldSpec kVendLog[] = {{"CDVENDEDOR", S, 4, "", kRequired}};

// One clause per line, as the statements are kept.
void Statement(TADOIBQuery& query, std::initializer_list<std::string> lines) {
  query.SQL = TStrings(lines);
}

}  // namespace

void TfrmConfPedido::ComposeDatasets() {
  Declare(cdsPedido, kPedido);
  Declare(cdsItemPedido, kItemPedido);
  Declare(cdsPosiEstoq, kPosiEstoq);
  Declare(cdsPrazoPgto, kPrazoPgto);
  Declare(cdsObser, kObser);
  Declare(cdsParamPedido, kParamPedido);
  Declare(cdsSomatorio, kSomatorio);
  cdsSomatorio.SetFiltered(true);  // the expression is set where the sums are taken
  Declare(cdsItemErro, kItemErro);
  Declare(cdsOperTPed, kOperTPed);
  // cdsPedIErro takes whatever fields its packet brings.

  dtsPedido.SetDataSet(&cdsPedido);
  dtsItemPedido.SetDataSet(&cdsItemPedido);
  dtsPosiEstoq.SetDataSet(&cdsPosiEstoq);
  dtsPrazoPgto.SetDataSet(&cdsPrazoPgto);
  dtsObser.SetDataSet(&cdsObser);
  dtsFilial.SetDataSet(&qryFilial);
  dtsPadrao.SetDataSet(&cdsPedido);
  ComposeQueries();
}

void TfrmConfPedido::ComposeQueries() {
  Declare(qryFilial, kFilial);
  Statement(qryFilial, {"SELECT", "   CDFILIAL,", "   NMFILIAL", "FROM", "   FILIAL",
                        "ORDER BY", "   CDFILIAL"});
  Declare(qryPesqFilial, kPesqFilial);
  Statement(qryPesqFilial, {"SELECT", "   CDFILIAL,", "   NMFILIAL", "FROM", "   FILIAL",
                            "WHERE ", "   (CDFILIAL = :P_CDFILIAL )"});
  Declare(qryPesqUnid, kPesqUnid);
  Statement(qryPesqUnid,
            {"SELECT", "   SGUNIDADE", "FROM", "   PRODUTO", "WHERE ", "   (CDPRODUTO = :P_CDPRODESTO)"});
  Declare(qryVendLog, kVendLog);
  Statement(qryVendLog, {"SELECT", "   CDVENDEDOR", "FROM", "   VENDEDOR", "WHERE ",
                         "   (CDOPERADOR = :P_CDOPERADOR)"});
}
