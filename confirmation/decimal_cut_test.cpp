// Cutting to cents on the decimal text, as the operator reads the value.
#include "confirmation/decimal_cut.h"

#include <gtest/gtest.h>

namespace {

TEST(CortaCentavos, CutsTheDecimalTextNotTheDouble) {
  EXPECT_DOUBLE_EQ(CortaCentavos(0.29), 0.29);  // a double-based cut gives 0.28
  EXPECT_DOUBLE_EQ(CortaCentavos(0.019), 0.01);
  EXPECT_DOUBLE_EQ(CortaCentavos(12.3456), 12.34);
  EXPECT_DOUBLE_EQ(CortaCentavos(-1.239), -1.23);
  EXPECT_DOUBLE_EQ(CortaCentavos(2.5), 2.5);
  EXPECT_DOUBLE_EQ(CortaCentavos(7), 7);
  // Exponent forms: below a cent is nothing, large values stay whole.
  EXPECT_DOUBLE_EQ(CortaCentavos(0.000015), 0);
  EXPECT_DOUBLE_EQ(CortaCentavos(-0.00001), 0);
  EXPECT_DOUBLE_EQ(CortaCentavos(1e20), 1e20);
}

}  // namespace
