// Queries on SQLite: parameters, persistent and dynamic fields, value
// conversion, the dialect text chosen, and the failures that keep the
// query closed.
#include <gtest/gtest.h>

#include "base/errors.h"
#include "sql/adoib_query.h"
#include "sql/sql_dialect.h"
#include "text/date_time.h"

namespace fw {
namespace {

class QueryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    db_.Open("sqlite::memory:");
    db_.Driver().Execute(R"(
      CREATE TABLE FILIAL (CDFILIAL VARCHAR(4) PRIMARY KEY, NMFILIAL VARCHAR(30));
      INSERT INTO FILIAL VALUES ('0001', 'Matriz São Paulo'), ('0002', 'Filial Recife');
      CREATE TABLE PEDIDO (NRPEDIDO VARCHAR(10), DTPEDIDO DATETIME, VRTOTAL REAL, QTITENS INTEGER);
      INSERT INTO PEDIDO VALUES ('0000000001', '2024-03-05 14:30:00', 10.5, 3),
                                ('0000000002', 45356.5, NULL, NULL);
      CREATE TABLE PAIS (CDPAIS VARCHAR(4), NMPAIS VARCHAR(30));
      CREATE TABLE MUNICIPIO (CDPAIS VARCHAR(4), SGESTADO VARCHAR(2), CDMUNICIPIO VARCHAR(4),
                              NMMUNICIPIO VARCHAR(30));
      CREATE TABLE ENDECLIE (CDCLIENTE VARCHAR(21), CDPAIS VARCHAR(4), SGESTADO VARCHAR(2),
                             CDMUNICIPIO VARCHAR(4));
      INSERT INTO PAIS VALUES ('1058', 'Brasil');
      INSERT INTO MUNICIPIO VALUES ('1058', 'SP', '0001', 'São Paulo'), ('1058', 'PE', '0002', 'Recife'),
                                   ('1058', 'BA', '0003', 'Salvador');
      INSERT INTO ENDECLIE VALUES ('C1', '1058', 'SP', '0001'), ('C2', '1058', 'PE', '0002'),
                                  ('C3', '1058', 'SP', '0001');
    )");
  }
  TDBConnection db_;
};

TEST_F(QueryTest, PersistentFieldsWithParameter) {
  TADOIBQuery qry("qryPesqFilial");
  qry.Connection = &db_;
  qry.SQL.SetText("SELECT CDFILIAL, NMFILIAL FROM FILIAL\nWHERE (CDFILIAL = :P_CDFILIAL )");
  TField& code = qry.AddField("CDFILIAL", TFieldType::ftString, 8);
  code.Required = true;
  code.DisplayLabel = "Código";
  qry.AddField("NMFILIAL", TFieldType::ftString, 30);
  ASSERT_EQ(qry.Params().Count(), 1);
  EXPECT_THROW(qry.Open(), EDatabaseError);  // parameter without a value
  EXPECT_FALSE(qry.Active());
  qry.ParamByName("p_cdfilial").SetAsString("0001");
  qry.Open();
  EXPECT_EQ(qry.RecordCount(), 1);
  EXPECT_EQ(qry.FieldByName("NMFILIAL").AsString(), "Matriz São Paulo");
  EXPECT_THROW(qry.Edit(), EDatabaseError);  // read-only result
  qry.Close();
  qry.ParamByName("P_CDFILIAL").SetAsString("9999");
  qry.Open();
  EXPECT_TRUE(qry.IsEmpty());
  EXPECT_THROW(qry.ParamByName("P_OUTRO"), EDatabaseError);
}

TEST_F(QueryTest, ValuesAreConvertedToTheDeclaredTypes) {
  TADOIBQuery qry("qryPedido");
  qry.Connection = &db_;
  qry.SQL.SetText("SELECT NRPEDIDO, DTPEDIDO, VRTOTAL, QTITENS FROM PEDIDO ORDER BY NRPEDIDO");
  qry.AddField("NRPEDIDO", TFieldType::ftString, 10);
  qry.AddField("DTPEDIDO", TFieldType::ftDateTime);
  qry.AddField("VRTOTAL", TFieldType::ftFloat);
  qry.AddField("QTITENS", TFieldType::ftString, 5);  // integer column read as text
  qry.Open();
  EXPECT_EQ(qry.FieldByName("DTPEDIDO").AsString(), "05/03/2024 14:30:00");
  EXPECT_EQ(qry.FieldByName("QTITENS").AsString(), "3");
  qry.Next();
  EXPECT_EQ(qry.FieldByName("DTPEDIDO").AsString(), "05/03/2024 12:00:00");
  EXPECT_TRUE(qry.FieldByName("VRTOTAL").IsNull());
}

TEST_F(QueryTest, DynamicFieldsFollowTheResultColumns) {
  TADOIBQuery qry("qryLivre");
  qry.Connection = &db_;
  qry.SQL.SetText("SELECT NRPEDIDO, DTPEDIDO, VRTOTAL, QTITENS, 'x' || NRPEDIDO AS CALC FROM PEDIDO");
  qry.Open();
  EXPECT_EQ(qry.FieldByName("NRPEDIDO").DataType(), TFieldType::ftString);
  EXPECT_EQ(qry.FieldByName("DTPEDIDO").DataType(), TFieldType::ftDateTime);
  EXPECT_EQ(qry.FieldByName("VRTOTAL").DataType(), TFieldType::ftFloat);
  EXPECT_EQ(qry.FieldByName("QTITENS").DataType(), TFieldType::ftInteger);
  EXPECT_EQ(qry.FieldByName("CALC").AsString(), "x0000000001");
  qry.Close();
  EXPECT_EQ(qry.FindField("CALC"), nullptr);
}

TEST_F(QueryTest, FailuresKeepTheQueryClosed) {
  TADOIBQuery missing("qryFalta");
  missing.Connection = &db_;
  missing.SQL.SetText("SELECT CDFILIAL FROM FILIAL");
  missing.AddField("NMFILIAL", TFieldType::ftString, 30);
  EXPECT_THROW(missing.Open(), EDatabaseError);
  EXPECT_FALSE(missing.Active());

  TADOIBQuery tooLong("qryCurto");
  tooLong.Connection = &db_;
  tooLong.SQL.SetText("SELECT NMFILIAL FROM FILIAL");
  tooLong.AddField("NMFILIAL", TFieldType::ftString, 5);
  EXPECT_THROW(tooLong.Open(), EDatabaseError);

  TADOIBQuery broken("qryErrada");
  broken.Connection = &db_;
  broken.SQL.SetText("SELECT FROM WHERE");
  try {
    broken.Open();
    FAIL();
  } catch (const EDatabaseError& e) {
    EXPECT_NE(std::string(e.what()).find("Erro do banco de dados"), std::string::npos);
  }

  TDBConnection closed;
  TADOIBQuery noConnection("qrySemConexao");
  noConnection.Connection = &closed;
  noConnection.SQL.SetText("SELECT 1");
  EXPECT_THROW(noConnection.Open(), EDatabaseError);
}

TEST_F(QueryTest, BeforeOpenRunsOnEachOpeningAndCanRefuseIt) {
  TADOIBQuery qry("qryPesqFilial");
  qry.Connection = &db_;
  qry.SQL.SetText("SELECT CDFILIAL FROM FILIAL WHERE CDFILIAL = :P_CDFILIAL");
  int runs = 0;
  qry.BeforeOpen = [&](TDataSet& d) {
    ++runs;
    static_cast<TADOIBQuery&>(d).ParamByName("P_CDFILIAL").SetAsString("0002");
  };
  qry.Open();
  EXPECT_EQ(qry.RecordCount(), 1);
  qry.Open();  // already open: nothing runs
  EXPECT_EQ(runs, 1);
  qry.Close();
  qry.BeforeOpen = [](TDataSet&) { throw EDatabaseError("recusado"); };
  EXPECT_THROW(qry.Open(), EDatabaseError);
  EXPECT_FALSE(qry.Active());
}

TEST_F(QueryTest, MunicipalityLookupRunsItsDefaultTextOnSqlite) {
  TADOIBQuery qry("qryMuniciCli");
  qry.Connection = &db_;
  qry.SQL.SetText(
      "SELECT\n   DISTINCT M.CDMUNICIPIO, M.NMMUNICIPIO,\n   P.NMPAIS, M.SGESTADO,\n"
      "   (M.CDPAIS||M.SGESTADO||M.CDMUNICIPIO) AS CONCATENADOS\nFROM\n"
      "   MUNICIPIO M, ENDECLIE E, PAIS P\nWHERE\n"
      "   (E.CDPAIS      = M.CDPAIS     ) AND\n   (E.SGESTADO    = M.SGESTADO   ) AND\n"
      "   (E.CDMUNICIPIO = M.CDMUNICIPIO) AND\n"
      "   ((INSTR(:P_CDCLIENTE,E.CDCLIENTE) <> 0) OR (:P_TCDCLIENTE = 'T')) AND\n"
      "   (P.CDPAIS      = M.CDPAIS     )\nORDER BY\n   M.NMMUNICIPIO");
  qry.SQL_MSSQL.SetText("SELECT CHARINDEX(E.CDCLIENTE,:P_CDCLIENTE) FROM ENDECLIE E");
  ASSERT_EQ(qry.Params().Count(), 2);
  EXPECT_EQ(qry.Params()[0].Name, "P_CDCLIENTE");
  qry.ParamByName("P_CDCLIENTE").SetAsString("'C2'");
  qry.ParamByName("P_TCDCLIENTE").SetAsString("F");
  qry.Open();
  EXPECT_EQ(qry.RecordCount(), 1);
  EXPECT_EQ(qry.FieldByName("CONCATENADOS").AsString(), "1058PE0002");
  qry.Close();
  qry.ParamByName("P_TCDCLIENTE").SetAsString("T");
  qry.Open();
  EXPECT_EQ(qry.RecordCount(), 2);  // distinct: two customers share São Paulo
}

TEST(SqlDialect, VariantsOnlyForTheirOwnDatabase) {
  TStrings standard{"SELECT 1"}, oracle{"SELECT 1 FROM DUAL"}, mssql, ib{"SELECT 1 FROM RDB$DATABASE"};
  TDialectTexts texts{standard, oracle, mssql, ib};
  EXPECT_EQ(&SqlTextFor(TSqlDialect::SQLite, texts), &standard);
  EXPECT_EQ(&SqlTextFor(TSqlDialect::PostgreSQL, texts), &standard);
  EXPECT_EQ(&SqlTextFor(TSqlDialect::Oracle, texts), &oracle);
  EXPECT_EQ(&SqlTextFor(TSqlDialect::MSSQL, texts), &standard);  // no variant: default
  EXPECT_EQ(&SqlTextFor(TSqlDialect::InterBase, texts), &ib);
}

TEST(SqlParams, MarkersOutsideQuotesAndCommentsInOrder) {
  EXPECT_EQ(ParseParamNames("SELECT ':NAO', \":NAO\" FROM T -- :NAO\n"
                            "WHERE A = :P_A AND B = :p_b AND C = :P_A AND D::text = :P_C"),
            (std::vector<std::string>{"P_A", "p_b", "P_C"}));
  TParams params;
  params.Assign({"P_A", "P_B"});
  params.ParamByName("P_A").SetAsString("x");
  params.Assign({"P_B", "P_A"});
  EXPECT_EQ(params.ParamByName("P_A").AsString(), "x");
  EXPECT_FALSE(params.ParamByName("P_B").Assigned());
  EXPECT_EQ(params.FindParam("P_Z"), nullptr);
}

}  // namespace
}  // namespace fw
