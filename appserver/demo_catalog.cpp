#include "appserver/demo_catalog.h"

namespace appserver::demo {

const std::vector<TBranch>& Branches() {
  static const std::vector<TBranch> v = {
      {"0001", "Matriz São Paulo", "1NNS2N1N", 30},
      {"0002", "Filial Campinas", "1NNN2N1N", 10},
      {"0003", "Filial Curitiba", "1NSS2N1N", 10},
      {"0004", "Filial Belo Horizonte", "1NNS2N2N", 10},
      {"0005", "Filial Recife", "2SNS2N1N", 10},
      {"0006", "Filial Porto Alegre", "1NNS2S1N", 10},
      {"0007", "Filial Salvador", "1NNS2N1S", 10},
      {"0008", "Filial Goiânia", "1NNS1N1N", 10},
  };
  return v;
}

const std::vector<TOperator>& Operators() {
  static const std::vector<TOperator> v = {
      {"ANA", "Ana Paula Ribeiro"},     {"BRUNO", "Bruno Lima"},
      {"CARLOS", "Carlos Eduardo Pinto"}, {"DANIELA", "Daniela Ferraz"},
      {"MARIA", "Maria Helena Costa"},
  };
  return v;
}

const std::vector<TSalesperson>& Salespeople() {
  static const std::vector<TSalesperson> v = {
      {"0001", "Ana Paula", "Ana Paula Ribeiro", 'V', "ANA"},
      {"0002", "Bruno Lima", "Bruno Lima de Andrade", 'E', "BRUNO"},
      {"0003", "Cláudia Mendes", "Cláudia Regina Mendes", 'V', nullptr},
      {"0004", "Diego Martins", "Diego Martins Cavalcanti", 'E', nullptr},
      {"0005", "Eduarda Rocha", "Eduarda Rocha Albuquerque", 'V', nullptr},
      {"0006", "Fábio Nunes", "Fábio Henrique Nunes", 'E', nullptr},
      {"0007", "Gabriela Teixeira", "Gabriela Teixeira Brandão", 'V', nullptr},
      {"0008", "Henrique Barros", "Henrique Barros Machado", 'E', nullptr},
      {"0009", "Repr. Iguaçu", "Iguaçu Representações Comerciais Ltda", 'R', nullptr},
      {"0010", "Juliana Castro", "Juliana Castro Freitas", 'V', nullptr},
      {"0011", "Repr. Kleber Antunes", "Kleber Antunes Representações ME", 'R', nullptr},
      {"0012", "Larissa Moura", "Larissa Moura Gonçalves", 'V', nullptr},
  };
  return v;
}

const std::vector<TPermission>& Permissions() {
  static const std::vector<TPermission> v = {
      {"0005", "ANA", "01"},   {"0005", "ANA", "03"},    {"0005", "CARLOS", "01"},
      {"0005", "CARLOS", "02"}, {"0001", "CARLOS", "01"}, {"*", "MARIA", "01"},
      {"*", "MARIA", "02"},    {"*", "MARIA", "03"},     {"*", "MARIA", "04"},
      {"*", "MARIA", "05"},
  };
  return v;
}

const std::vector<TCodeName>& OperationTypes() {
  static const std::vector<TCodeName> v = {
      {"01", "Venda de Mercadoria"},     {"02", "Venda p/ Entrega Futura"},
      {"03", "Bonificação"},             {"04", "Remessa em Consignação"},
      {"05", "Venda à Ordem"},           {"50", "Devolução de Venda"},
      {"51", "Compra p/ Comercialização"},
  };
  return v;
}

const std::vector<TTown>& Towns() {
  static const std::vector<TTown> v = {
      {"SP", "São Paulo"},      {"SP", "Campinas"},         {"SP", "Santos"},
      {"SP", "Ribeirão Preto"}, {"SP", "Sorocaba"},         {"SP", "São José dos Campos"},
      {"RJ", "Rio de Janeiro"}, {"RJ", "Niterói"},          {"RJ", "Petrópolis"},
      {"MG", "Belo Horizonte"}, {"MG", "Uberlândia"},       {"MG", "Juiz de Fora"},
      {"MG", "Contagem"},       {"PR", "Curitiba"},         {"PR", "Londrina"},
      {"PR", "Maringá"},        {"SC", "Florianópolis"},    {"SC", "Joinville"},
      {"SC", "Blumenau"},       {"RS", "Porto Alegre"},     {"RS", "Caxias do Sul"},
      {"RS", "Pelotas"},        {"BA", "Salvador"},         {"BA", "Feira de Santana"},
      {"BA", "Vitória da Conquista"}, {"PE", "Recife"},     {"PE", "Olinda"},
      {"PE", "Caruaru"},        {"PE", "Petrolina"},        {"CE", "Fortaleza"},
      {"CE", "Juazeiro do Norte"}, {"GO", "Goiânia"},       {"GO", "Anápolis"},
      {"DF", "Brasília"},       {"AM", "Manaus"},           {"PA", "Belém"},
      {"ES", "Vitória"},        {"ES", "Vila Velha"},       {"MT", "Cuiabá"},
      {"MS", "Campo Grande"},   {"RN", "Natal"},            {"PB", "João Pessoa"},
      {"AL", "Maceió"},         {"SE", "Aracaju"},          {"PI", "Teresina"},
      {"MA", "São Luís"},
  };
  return v;
}

const std::vector<TProduct>& Products() {
  static const std::vector<TProduct> v = {
      {"0101001", "Arroz Agulhinha Tipo 1 5kg", "PCT", 24.90, 5.0, -1, 1, true},
      {"0101002", "Feijão Carioca Tipo 1 1kg", "PCT", 8.49, 1.0, -1, 1, true},
      {"0101003", "Açúcar Cristal 5kg", "PCT", 21.90, 5.0, -1, 1, true},
      {"0101004", "Café Torrado e Moído 500g", "PCT", 17.80, 0.5, -1, 1, true},
      {"0101005", "Óleo de Soja 900ml", "UN", 7.99, 0.9, -1, 1, true},
      {"0101006", "Farinha de Trigo Especial 1kg", "PCT", 5.49, 1.0, -1, 1, true},
      {"0101007", "Macarrão Espaguete 500g", "PCT", 4.29, 0.5, -1, 1, true},
      {"0101008", "Leite UHT Integral 1L", "UN", 4.89, 1.03, 8, 12, true},
      {"0101009", "Leite UHT Integral 1L Caixa 12un", "CX", 58.68, 12.4, -1, 1, true},
      {"0201001", "Água Mineral sem Gás 500ml", "UN", 1.99, 0.52, 10, 12, true},
      {"0201002", "Água Mineral sem Gás 500ml Fardo 12un", "FD", 23.88, 6.3, -1, 1, true},
      {"0201003", "Refrigerante de Cola 2L", "UN", 8.99, 2.1, 12, 6, true},
      {"0201004", "Refrigerante de Cola 2L Fardo 6un", "FD", 53.94, 12.7, -1, 1, true},
      {"0201005", "Suco de Uva Integral 1L", "UN", 14.90, 1.1, -1, 1, true},
      {"0201006", "Cerveja Pilsen Lata 350ml", "UN", 3.49, 0.37, 15, 12, true},
      {"0201007", "Cerveja Pilsen Lata 350ml Caixa 12un", "CX", 41.88, 4.5, -1, 1, true},
      {"0301001", "Detergente Neutro 500ml", "UN", 2.29, 0.52, -1, 1, false},
      {"0301002", "Sabão em Pó 1kg", "CX", 12.90, 1.0, -1, 1, false},
      {"0301003", "Água Sanitária 2L", "UN", 6.49, 2.05, -1, 1, false},
      {"0301004", "Álcool Etílico 70% 1L", "UN", 9.90, 0.9, -1, 1, false},
      {"0301005", "Desinfetante Lavanda 2L", "UN", 7.59, 2.05, -1, 1, false},
      {"0401001", "Sabonete em Barra 90g", "UN", 2.19, 0.09, -1, 1, false},
      {"0401002", "Creme Dental 90g", "UN", 4.99, 0.1, -1, 1, false},
      {"0401003", "Papel Higiênico Folha Dupla 12 Rolos", "PCT", 19.90, 1.3, -1, 1, false},
      {"0401004", "Shampoo Hidratante 350ml", "UN", 15.90, 0.37, -1, 1, false},
      {"0501001", "Herbicida Glifosato 1L", "L", 48.00, 1.1, -1, 1, true},
      {"0501002", "Fertilizante NPK 10-10-10 25kg", "SC", 139.90, 25.0, -1, 1, false},
      {"0501003", "Fungicida Sistêmico 1L", "L", 89.50, 1.05, -1, 1, true},
      {"0501004", "Semente de Milho Híbrido 20kg", "SC", 389.00, 20.0, -1, 1, true},
      {"0601001", "Dipirona Sódica 500mg 10 Comprimidos", "CX", 6.90, 0.02, -1, 1, true},
      {"0601002", "Soro Fisiológico 0,9% 500ml", "UN", 5.80, 0.53, -1, 1, true},
      {"0601003", "Luva de Procedimento Caixa 100un", "CX", 32.90, 0.6, -1, 1, false},
      {"0701001", "Parafuso Sextavado 1/4 x 2 pol", "UN", 0.45, 0.02, -1, 1, false},
      {"0701002", "Cimento CP II 50kg", "SC", 38.90, 50.0, -1, 1, false},
      {"0701003", "Tinta Acrílica Branca 18L", "LT", 289.90, 25.0, -1, 1, false},
      {"0701004", "Fita Isolante 20m", "UN", 6.50, 0.05, -1, 1, false},
  };
  return v;
}

// Product indexes: 19 alcohol, 25 herbicide, 27 fungicide, 29 dipyrone.
const std::vector<TLicenceIssue>& LicenceIssues() {
  static const std::vector<TLicenceIssue> v = {
      {19, "*", "Licença da Polícia Federal para produtos químicos vencida", false},
      {25, "0003", "Registro no órgão estadual de defesa agropecuária pendente", false},
      {25, "0006", "Registro no órgão estadual de defesa agropecuária pendente", false},
      {27, "0003", "Receituário agronômico não cadastrado", true},
      {27, "0007", "Receituário agronômico não cadastrado", false},
      {29, "0001", "Licença sanitária da filial vencida", false},
      {29, "0005", "Autorização de funcionamento (AFE) em renovação", false},
  };
  return v;
}

const std::vector<TCodeName>& Carriers() {
  static const std::vector<TCodeName> v = {
      {"Rápido Paulista", "Transportes Rápido Paulista Ltda"},
      {"Expresso Mantiqueira", "Expresso Mantiqueira Transportes Ltda"},
      {"Via Cargas", "Via Cargas Logística S.A."},
      {"TransNordeste", "TransNordeste Cargas e Encomendas Ltda"},
      {"Rota Sul", "Rota Sul Transportes Rodoviários Ltda"},
      {"Cargo Litoral", "Cargo Litoral Logística Ltda"},
      {"Translógica Minas", "Translógica Minas Gerais Ltda"},
      {"Rota Norte", "Rota Norte Logística e Armazéns Ltda"},
  };
  return v;
}

const std::vector<TCodeName>& TransportTypes() {
  static const std::vector<TCodeName> v = {
      {"ROD", "Rodoviário"}, {"AER", "Aéreo"}, {"FER", "Ferroviário"},
      {"AQU", "Aquaviário"}, {"RET", "Retirada pelo cliente"},
  };
  return v;
}

const std::vector<TCodeName>& PaymentModalities() {
  static const std::vector<TCodeName> v = {
      {"BOL", "Boleto bancário"},
      {"DUP", "Duplicata mercantil"},
      {"CCR", "Cartão de crédito"},
      {"DEP", "Depósito em conta corrente"},
      {"PIX", "Pix"},
      {"DIN", "Dinheiro"},
      {"CHQ", "Cheque pré-datado"},
  };
  return v;
}

const std::vector<TPaymentForm>& PaymentForms() {
  static const std::vector<TPaymentForm> v = {
      {"01", "À vista", {{0, 100}}},
      {"02", "30 dias", {{30, 100}}},
      {"03", "30/60 dias", {{30, 50}, {60, 50}}},
      {"04", "30/60/90 dias", {{30, 33.33}, {60, 33.33}, {90, 33.34}}},
      {"05", "28/56/84 dias", {{28, 33.33}, {56, 33.33}, {84, 33.34}}},
      {"06", "Entrada + 30 dias", {{0, 50}, {30, 50}}},
      {"07", "15 dias", {{15, 100}}},
  };
  return v;
}

const std::vector<TCodeName>& Stores() {
  static const std::vector<TCodeName> v = {
      {"01", "Almoxarifado Central"},
      {"02", "Centro de Distribuição"},
  };
  return v;
}

const std::vector<TPlace>& Places() {
  static const std::vector<TPlace> v = {
      {"01", "A01", "Rua A - Prateleira 01", true}, {"01", "A02", "Rua A - Prateleira 02", true},
      {"01", "B01", "Rua B - Porta-palete 01", true}, {"01", "QUA", "Quarentena", false},
      {"02", "EXP", "Doca de Expedição", true},     {"02", "P01", "Porta-palete 01", true},
  };
  return v;
}

const std::vector<const char*>& FirstNames() {
  static const std::vector<const char*> v = {
      "Ana", "Antônio", "Beatriz", "Carlos", "Daniela", "Eduardo", "Fernanda", "Francisco",
      "Gabriel", "Helena", "João", "José", "Juliana", "Letícia", "Lucas", "Luiz", "Márcia",
      "Maria", "Mariana", "Paulo", "Pedro", "Rafael", "Raimunda", "Sebastião", "Sônia",
      "Tereza", "Thiago", "Vitória", "Conceição", "Otávio"};
  return v;
}

const std::vector<const char*>& Surnames() {
  static const std::vector<const char*> v = {
      "Silva", "Santos", "Oliveira", "Souza", "Rodrigues", "Ferreira", "Alves", "Pereira",
      "Lima", "Gomes", "Costa", "Ribeiro", "Martins", "Carvalho", "Almeida", "Lopes",
      "Soares", "Fernandes", "Vieira", "Barbosa", "Rocha", "Dias", "Nascimento", "Andrade",
      "Moreira", "Nunes", "Marques", "Machado", "Mendes", "Freitas", "Cardoso", "Ramos",
      "Gonçalves", "Santana", "Teixeira", "Araújo", "Cavalcanti", "Albuquerque", "Brandão",
      "Magalhães"};
  return v;
}

const std::vector<const char*>& ShopKinds() {
  static const std::vector<const char*> v = {
      "Mercado", "Supermercado", "Mercearia", "Padaria", "Farmácia", "Drogaria", "Empório",
      "Armazém", "Distribuidora", "Atacadão", "Restaurante", "Lanchonete", "Hotel",
      "Agropecuária", "Casa de Carnes", "Conveniência", "Materiais de Construção"};
  return v;
}

const std::vector<const char*>& ShopNames() {
  static const std::vector<const char*> v = {
      "Bom Preço", "São Jorge", "Santa Luzia", "Boa Vista", "Primavera", "Estrela", "Central",
      "Popular", "do Bairro", "Real", "Bela Vista", "Progresso", "União", "Ideal", "Avenida",
      "Vitória", "Esperança", "Sol Nascente", "Dois Irmãos", "Três Marias", "Pioneiro",
      "Paulista", "Mineiro", "Gaúcho", "Nordeste", "Aparecida", "Santo Antônio", "Imperial",
      "Planalto", "Litoral"};
  return v;
}

const std::vector<const char*>& Streets() {
  static const std::vector<const char*> v = {
      "Rua das Flores", "Rua Sete de Setembro", "Rua XV de Novembro", "Avenida Tiradentes",
      "Rua Dom Pedro II", "Avenida Rio Branco", "Avenida Getúlio Vargas", "Rua Santos Dumont",
      "Rua Marechal Deodoro", "Rua Barão do Rio Branco", "Alameda das Palmeiras",
      "Avenida São João", "Rua Amazonas", "Avenida Brasil", "Rua da Independência",
      "Travessa do Comércio", "Rua Visconde de Mauá", "Avenida Beira-Mar"};
  return v;
}

const std::vector<const char*>& Remarks() {
  static const std::vector<const char*> v = {
      "Entregar no período da manhã, das 8h às 12h.",
      "Cliente solicita nota fiscal com o CNPJ da matriz.",
      "Descarregar pela rua lateral; portão azul.",
      "Conferir a validade dos produtos na entrega.",
      "Pagamento condicionado à conferência da mercadoria.",
      "Agendar a entrega com o setor de compras (falar com o Sr. Antônio).",
      "Pedido urgente: cliente sem estoque.",
      "Não aceitar devolução de embalagens abertas.",
  };
  return v;
}

const std::vector<const char*>& CustomerNotes() {
  static const std::vector<const char*> v = {
      "Pedido de compra nº 4471", "Reposição quinzenal", "Campanha de fim de mês",
      "Abertura de loja nova", "Pedido feito por telefone", "Pedido do portal do cliente"};
  return v;
}

const std::vector<const char*>& SalesNotes() {
  static const std::vector<const char*> v = {
      "Visita semanal", "Negociado desconto à vista", "Cliente novo, primeira compra",
      "Preço de tabela promocional", "Acompanhar entrega", "Retorno de orçamento"};
  return v;
}

}  // namespace appserver::demo
