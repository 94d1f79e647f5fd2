// The filter dialog's data: the lookup queries of the pick lists (with
// their text for each database dialect), the order numbers and the
// operator's order-type permissions received from the application server,
// the data sources, and the dialog's message table.
#include "filter/filtro_conf_pedido_form.h"
#include "library/field_decls.h"

using namespace fw;
using namespace fields;

namespace {

constexpr TFieldDecl kVendLog[] = {{"CDVENDEDOR", S, 4, "", kRequired}};
constexpr TFieldDecl kVendedor[] = {{"CDVENDEDOR", S, 4, "Código", kRequired},
                                    {"NMFANVEN", S, 50, "Nome"}};
constexpr TFieldDecl kCliente[] = {
    {"NRINSJURCLIE", S, 20, "Número da Inscrição"},
    {"NMFANTCLIE", S, 50, "Nome Fantasia"},
    {"NMRAZSOCCLIE", S, 50, "Razão Social"},
    {"DSENDECLIE", S, 50, "Endereço"},
    {"NMMUNICIPIO", S, 30, "Município"},
    {"SGESTADO", S, 2, "Estado", kRequired},
    {"NMPAIS", S, 30, "País"},
    {"CDCLIENTE", S, 21, "", kRequired | kHidden},
    {"IDTPIJURCLIE", S, 1, "", kHidden},
};
constexpr TFieldDecl kProduto[] = {{"CDARVPROD", S, 20, "Código", 0, "", "", "", 15},
                                   {"NMPRODUTO", S, 50, "Nome"}};
constexpr TFieldDecl kMuniciCli[] = {
    {"CDMUNICIPIO", S, 4, "Código", kRequired}, {"NMMUNICIPIO", S, 30, "Nome"},
    {"SGESTADO", S, 2, "Estado", kRequired},    {"CONCATENADOS", S, 10, "", kHidden},
    {"NMPAIS", S, 30, "Pais"},
};
constexpr TFieldDecl kTipoOper[] = {{"CDTIPOOPER", S, 2, "Código"},
                                    {"NMTIPOOPER", S, 30, "Nome"}};
constexpr TFieldDecl kNrPedido[] = {
    {"IDMARCADO", S, 1},
    {"NRPEDIDO", S, 10, "Número", 0, "", "", "PEDIDO.NRPEDIDO", 12},
    {"NMFANTCLIE", S, 50, "Cliente", 0, "", "", "PEDIDO.NRPEDIDO"},
};

// The municipality lookup: the distinct municipalities of the addresses of
// the customers listed in :P_CDCLIENTE, or of every customer when
// :P_TCDCLIENTE is 'T'. `concat` builds the key, `customer` is the test of
// the customer list, `from` ends the FROM clause.
TStrings MuniciCliText(const std::string& concat, const std::vector<std::string>& from,
                       const std::string& customer) {
  TStrings text({"SELECT", "   DISTINCT M.CDMUNICIPIO, M.NMMUNICIPIO,", "   P.NMPAIS, M.SGESTADO,",
                 "   " + concat + " AS CONCATENADOS", "FROM"});
  for (const std::string& line : from) text.Add(line);
  for (const char* line : {"WHERE", "   (E.CDPAIS      = M.CDPAIS     ) AND",
                           "   (E.SGESTADO    = M.SGESTADO   ) AND",
                           "   (E.CDMUNICIPIO = M.CDMUNICIPIO) AND"})
    text.Add(line);
  text.Add("   " + customer);
  for (const char* line : {"   (P.CDPAIS      = M.CDPAIS     )", "ORDER BY", "   M.NMMUNICIPIO"})
    text.Add(line);
  return text;
}

const char* const kMessages[] = {
    "DTINI>DTFIN_PEDIDO|Data do pedido inicial deve ser menor ou igual a data do pedido final.",
    "DTINI_ENTREGA|Data de entrega inicial deve ser informada.",
    "DTFIN_ENTREGA|Data de entrega final deve ser informada.",
    "CODVERS|Versão não cadastrada.",
    "GRUP_SIST|Grupo de Sistemas",
    "SISTEMA|Sistema",
    "ASSUNTO|Assunto da Solicitação",
    "FASE_TRAM|Fase de Tramitação",
    "FUNC_SOLI|Funcionário Solicitante",
    "FUNC_RESP|Funcionário Responsável",
    "CLIENTE|Cliente",
    "INTERLOC|Interlocutor",
    "NRINI>NRFIN|Número pedido inicial deve ser menor ou igual ao número pedido final.",
    "VENDEDOR|Vendedor",
    "REPRESENTANTE|Representante",
    "PRODUTO|Produto",
    "NRINI|Intervalo inicial deve ser informado.",
    "NRFIN|Intervalo final deve ser informado.",
    "PEDIDO|Pedido",
    "STATUSPED|Situação do pedido deve ser informada.",
    "STATUSITEMPED|Situação do item deve ser informada.",
    "PRIO|Prioridade deve ser informada.",
    "LNrPedido|Número pedido deve ser informado.",
    "LRepresentante|Representante deve ser informado.",
    "LVendedor|Vendedor deve ser informado.",
    "LProduto|Produto deve ser informado.",
    "LCliente|Cliente deve ser informado.",
    "DATA_INV|não é uma data válida.",
    "DTINI>DTFIN_ENTREGA|Data de entrega inicial deve ser menor ou igual a data de entrega final.",
    "DTINI_PEDIDO|Data do pedido inicial deve ser informada.",
    "DTFIN_PEDIDO|Data do pedido final deve ser informada.",
    "CLIE|Não há cliente cadastrado.",
    "PROD|Não há produto cadastrado.",
    "VEND|Não há vendedor cadastrado.",
    "PED|Não há pedido cadastrado.",
    "LMuniciCli|Município do cliente deve ser informado.",
    "LTipoPed|Tipo do pedido deve ser informado.",
    "Municipio|Município",
    "Mun_NC|Não há município cadastrado para os clientes informados.",
    "TIPO|Não há tipo de operação cadastrada.",
    "OPERACAO|Operação",
    "LTipoOper|Tipo de Operação deve ser informado.",
    "data| não é uma data válida.",
};

}  // namespace

void TfrmFiltroConfPedido::ComposeQueries() {
  Declare(qryVendLog, kVendLog);
  qryVendLog.SQL = TStrings({"SELECT", "   CDVENDEDOR", "FROM", "   VENDEDOR", "WHERE",
                             "   (CDOPERADOR = :P_CDOPERADOR)"});

  Declare(qryVendedor, kVendedor);
  qryVendedor.SQL = TStrings({"SELECT", "   CDVENDEDOR,", "   NMFANVEN", "FROM", "   VENDEDOR",
                              "WHERE IDCARGOVEND <> 'R'   ", "ORDER BY", "   CDVENDEDOR", " ",
                              " "});

  Declare(qryCliente, kCliente);
  qryCliente.SQL = TStrings({"SELECT", "   C.CDCLIENTE,  C.IDTPIJURCLIE, C.NRINSJURCLIE,",
                             "   C.NMFANTCLIE,C.NMRAZSOCCLIE, P.NMPAIS,",
                             "   M.SGESTADO, M.NMMUNICIPIO, E.DSENDECLIE", "FROM",
                             "   CLIENTE C, PAIS P,", "   MUNICIPIO M, ENDECLIE E", "WHERE",
                             "   (C.CDCLIENTE   = E.CDCLIENTE  ) AND",
                             "   (E.CDPAIS      = M.CDPAIS     ) AND",
                             "   (E.SGESTADO    = M.SGESTADO   ) AND",
                             "   (E.CDMUNICIPIO = M.CDMUNICIPIO) AND",
                             "   (M.CDPAIS      = P.CDPAIS     ) AND",
                             "   (IDTPENDECLIE  = 'P')", "ORDER BY", "   NRINSJURCLIE"});

  Declare(qryProduto, kProduto);
  qryProduto.SQL = TStrings(
      {"SELECT", "   CDARVPROD,", "   NMPRODUTO", "FROM", "   PRODUTO", "ORDER BY", "   CDARVPROD"});

  Declare(qryMuniciCli, kMuniciCli);
  const std::vector<std::string> from = {"   MUNICIPIO M, ENDECLIE E, PAIS P"};
  qryMuniciCli.SQL = MuniciCliText(
      "(M.CDPAIS||M.SGESTADO||M.CDMUNICIPIO)", from,
      "((INSTR(:P_CDCLIENTE,E.CDCLIENTE) <> 0) OR (:P_TCDCLIENTE = 'T')) AND");
  qryMuniciCli.SQL_ORACLE = qryMuniciCli.SQL;
  qryMuniciCli.SQL_MSSQL = MuniciCliText(
      "(M.CDPAIS + M.SGESTADO + M.CDMUNICIPIO)", from,
      "((CHARINDEX(E.CDCLIENTE,:P_CDCLIENTE) > 0) OR (:P_TCDCLIENTE = 'T')) AND");
  qryMuniciCli.SQL_IB = MuniciCliText(
      "(M.CDPAIS||M.SGESTADO||M.CDMUNICIPIO)",
      {"   MUNICIPIO M, ENDECLIE E, PAIS P,", "   PARAM(:P_CDCLIENTE) P_CDCLIENTE"},
      "((INSTR(P_CDCLIENTE.PARAM,E.CDCLIENTE) > 0) OR (:P_TCDCLIENTE = 'T')) AND");

  Declare(qryPesqTipoOper, kTipoOper);
  qryPesqTipoOper.SQL = TStrings({"SELECT", "   CDTIPOOPER,", "   NMTIPOOPER", "FROM",
                                  "   TIPOOPERAC", "WHERE", "   IDENTRSAIDOP = 'S'", "ORDER BY",
                                  "   CDTIPOOPER"});
  qryPesqTipoOper.SQL_ORACLE = qryPesqTipoOper.SQL;
  qryPesqTipoOper.SQL_MSSQL = qryPesqTipoOper.SQL;
  qryPesqTipoOper.SQL_IB = qryPesqTipoOper.SQL;
}

void TfrmFiltroConfPedido::ComposeDatasets() {
  Declare(cdsNrPedido, kNrPedido);
  // cdsOperTPed takes whatever fields its packet brings: only its
  // emptiness is looked at.
  dtsVendedor.SetDataSet(&qryVendedor);
  dtsVendComis.SetDataSet(&qryVendedor);
  dtsCliente.SetDataSet(&qryCliente);
  dtsProduto.SetDataSet(&qryProduto);
  dtsMuniciCli.SetDataSet(&qryMuniciCli);
  dtsTipoOper.SetDataSet(&qryPesqTipoOper);
  dtsNrPedido.SetDataSet(&cdsNrPedido);
}

void TfrmFiltroConfPedido::ComposeMessages() {
  msgPadrao->Lines.Clear();
  for (const char* line : kMessages) msgPadrao->Lines.Add(line);
}
