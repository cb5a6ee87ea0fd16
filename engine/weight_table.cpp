// The weight table: the cells of every weight unit's block, as printed,
// and the marking list.
#include "catalogue.h"
#include "table.h"

namespace mensura {

// Weight: the constants are the table's own, not reciprocals of each other
// and not derived from a base unit. Blocks stand in their test order (GRAMS
// after DECIGRAMS). CLOVES, SACKS and STONES are never offered by the
// selector but convert when typed; their rows are written only by each
// other's blocks. Their row 2 is GRAINS: the number of grains, 7000 to the
// pound.
const Table& WeightTable() {
    // clang-format off
    static const Table table{"WEIGHT", {
    // Block "DRAMS" (row 1)
    // row  unit of the row    steps                                       precision
    {"DRAMS", {
        { 2, /* GRAINS */         {Mul(27.34375)},                             Double},
        { 6, /* OUNCES */         {Div(16)},                                   Single},
        { 7, /* POUNDS */         {Div(16), Div(16)},                          Single},
        { 8, /* TONS */           {Div(2000), Div(16), Div(16)},               Single},
        { 9, /* GRAMS */          {Mul(1.772)},                                Double},
        {10, /* MILLIGRAMS */     {Mul(1772)},                                 Single},
        {11, /* CENTIGRAMS */     {Mul(177.2)},                                Double},
        {12, /* DECIGRAMS */      {Mul(17.72)},                                Double},
        {13, /* DECAGRAMS */      {Mul(0.1772)},                               Double},
        {14, /* HECTOGRAMS */     {Mul(0.01772)},                              Double},
        {15, /* KILOGRAMS */      {Mul(0.001772)},                             Double},
    }},
    // Block "GRAINS" (row 2)
    // row  unit of the row    steps                                       precision
    {"GRAINS", {
        { 1, /* DRAMS */          {Mul(0.03657142857)},                        Double},
        { 6, /* OUNCES */         {Mul(0.00228571)},                           Double},
        { 7, /* POUNDS */         {Mul(0.0001428)},                            Double},
        { 8, /* TONS */           {Mul(0.0000000714)},                         Double},
        { 9, /* GRAMS */          {Mul(0.0648)},                               Double},
        {10, /* MILLIGRAMS */     {Mul(64.8)},                                 Double},
        {11, /* CENTIGRAMS */     {Mul(6.48)},                                 Double},
        {12, /* DECIGRAMS */      {Mul(0.648)},                                Double},
        {13, /* DECAGRAMS */      {Mul(0.00648)},                              Double},
        {14, /* HECTOGRAMS */     {Mul(0.000648)},                             Double},
        {15, /* KILOGRAMS */      {Mul(0.0000648)},                            Double},
    }},
    // Block "CLOVES" (row 3)
    // row  unit of the row    steps                                       precision
    {"CLOVES", {
        { 1, /* DRAMS */          {Mul(1792)},                                 Single},
        { 2, /* GRAINS */         {Mul(49000)},                                Double},  // grains: 7 lb of 7000 grains
        { 4, /* SACKS */          {Div(52)},                                   Single},
        { 5, /* STONES */         {Div(2)},                                    Single},
        { 6, /* OUNCES */         {Mul(112)},                                  Single},
        { 7, /* POUNDS */         {Mul(7)},                                    Single},
        { 8, /* TONS */           {Div(285.714285714286)},                     Double},
        { 9, /* GRAMS */          {Mul(3175.14659)},                           Double},
        {10, /* MILLIGRAMS */     {Mul(3175146.59)},                           Double},
        {11, /* CENTIGRAMS */     {Mul(317514.659)},                           Double},
        {12, /* DECIGRAMS */      {Mul(31751.4659)},                           Double},
        {13, /* DECAGRAMS */      {Mul(317.514659)},                           Double},
        {14, /* HECTOGRAMS */     {Mul(31.7514659)},                           Double},
        {15, /* KILOGRAMS */      {Mul(3.17514659)},                           Double},
    }},
    // Block "SACKS" (row 4)
    // row  unit of the row    steps                                       precision
    {"SACKS", {
        { 1, /* DRAMS */          {Mul(93184)},                                Double},
        { 2, /* GRAINS */         {Mul(2548000)},                              Double},  // grains: 364 lb of 7000 grains
        { 3, /* CLOVES */         {Mul(52)},                                   Single},
        { 5, /* STONES */         {Mul(26)},                                   Single},
        { 6, /* OUNCES */         {Mul(5824)},                                 Single},
        { 7, /* POUNDS */         {Mul(364)},                                  Single},
        { 8, /* TONS */           {Div(5.49450549450549)},                     Double},
        { 9, /* GRAMS */          {Mul(165107.62268)},                         Double},
        {10, /* MILLIGRAMS */     {Mul(165107622.68)},                         Double},
        {11, /* CENTIGRAMS */     {Mul(16510762.268)},                         Double},
        {12, /* DECIGRAMS */      {Mul(1651076.2268)},                         Double},
        {13, /* DECAGRAMS */      {Mul(16510.762268)},                         Double},
        {14, /* HECTOGRAMS */     {Mul(1651.0762268)},                         Double},
        {15, /* KILOGRAMS */      {Mul(165.10762268)},                         Double},
    }},
    // Block "STONES" (row 5)
    // row  unit of the row    steps                                       precision
    {"STONES", {
        { 1, /* DRAMS */          {Mul(3584)},                                 Single},
        { 2, /* GRAINS */         {Mul(98000)},                                Double},  // grains: 14 lb of 7000 grains
        { 3, /* CLOVES */         {Twice()},                                   Single},
        { 4, /* SACKS */          {Div(26)},                                   Single},
        { 6, /* OUNCES */         {Mul(224)},                                  Single},
        { 7, /* POUNDS */         {Mul(14)},                                   Single},
        { 8, /* TONS */           {Div(142.857142857143)},                     Double},
        { 9, /* GRAMS */          {Mul(6350.29318)},                           Double},
        {10, /* MILLIGRAMS */     {Mul(6350293.18)},                           Double},
        {11, /* CENTIGRAMS */     {Mul(635029.318)},                           Double},
        {12, /* DECIGRAMS */      {Mul(63502.9318)},                           Double},
        {13, /* DECAGRAMS */      {Mul(635.029318)},                           Double},
        {14, /* HECTOGRAMS */     {Mul(63.5029318)},                           Double},
        {15, /* KILOGRAMS */      {Mul(6.35029318)},                           Double},
    }},
    // Block "OUNCES" (row 6)
    // row  unit of the row    steps                                       precision
    {"OUNCES", {
        { 1, /* DRAMS */          {Mul(16)},                                   Single},
        { 2, /* GRAINS */         {Mul(437.5)},                                Double},
        { 7, /* POUNDS */         {Div(16)},                                   Single},
        { 8, /* TONS */           {Div(32000)},                                Single},
        { 9, /* GRAMS */          {Mul(28.349523125)},                         Double},
        {10, /* MILLIGRAMS */     {Mul(28349.523125)},                         Double},
        {11, /* CENTIGRAMS */     {Mul(2834.9523125)},                         Double},
        {12, /* DECIGRAMS */      {Mul(283.49523125)},                         Double},
        {13, /* DECAGRAMS */      {Mul(2.8349523125)},                         Double},
        {14, /* HECTOGRAMS */     {Mul(0.28349523125)},                        Double},
        {15, /* KILOGRAMS */      {Mul(0.028349523125)},                       Double},
    }},
    // Block "POUNDS" (row 7)
    // row  unit of the row    steps                                       precision
    {"POUNDS", {
        { 1, /* DRAMS */          {Mul(256)},                                  Single},
        { 2, /* GRAINS */         {Mul(7000)},                                 Single},
        { 6, /* OUNCES */         {Mul(16)},                                   Single},
        { 8, /* TONS */           {Div(2000)},                                 Single},
        { 9, /* GRAMS */          {Mul(453.59237)},                            Double},
        {10, /* MILLIGRAMS */     {Mul(453592.37)},                            Double},
        {11, /* CENTIGRAMS */     {Mul(45359.237)},                            Double},
        {12, /* DECIGRAMS */      {Mul(4535.9237)},                            Double},
        {13, /* DECAGRAMS */      {Mul(45.359237)},                            Double},
        {14, /* HECTOGRAMS */     {Mul(4.5359237)},                            Double},
        {15, /* KILOGRAMS */      {Mul(0.45359237)},                           Double},
    }},
    // Block "TONS" (row 8)
    // row  unit of the row    steps                                       precision
    {"TONS", {
        { 1, /* DRAMS */          {Mul(512000)},                               Double},
        { 2, /* GRAINS */         {Mul(14000000)},                             Double},
        { 6, /* OUNCES */         {Mul(32000)},                                Single},
        { 7, /* POUNDS */         {Mul(2000)},                                 Single},
        { 9, /* GRAMS */          {Mul(907184.74)},                            Double},
        {10, /* MILLIGRAMS */     {Mul(907184740)},                            Double},
        {11, /* CENTIGRAMS */     {Mul(90718474)},                             Double},
        {12, /* DECIGRAMS */      {Mul(9071847.4)},                            Double},
        {13, /* DECAGRAMS */      {Mul(90718.474)},                            Double},
        {14, /* HECTOGRAMS */     {Mul(9071.8474)},                            Double},
        {15, /* KILOGRAMS */      {Mul(907.18474)},                            Double},
    }},
    // Block "MILLIGRAMS" (row 10)
    // row  unit of the row    steps                                       precision
    {"MILLIGRAMS", {
        { 1, /* DRAMS */          {Mul(0.564383), Mul(0.001)},                 Double},
        { 2, /* GRAINS */         {Mul(0.01543235835294)},                     Double},
        { 6, /* OUNCES */         {Mul(0.03527396), Mul(0.001)},               Double},
        { 7, /* POUNDS */         {Div(453.59237), Mul(0.001)},                Double},
        { 8, /* TONS */           {Div(453.59237), Div(2000), Mul(0.001)},     Double},
        { 9, /* GRAMS */          {Div(1000)},                                 Single},
        {11, /* CENTIGRAMS */     {Mul(0.1)},                                  Double},
        {12, /* DECIGRAMS */      {Mul(0.01)},                                 Double},
        {13, /* DECAGRAMS */      {Div(10000)},                                Single},
        {14, /* HECTOGRAMS */     {Div(100000)},                               Double},
        {15, /* KILOGRAMS */      {Div(1000000)},                              Double},
    }},
    // Block "CENTIGRAMS" (row 11)
    // row  unit of the row    steps                                       precision
    {"CENTIGRAMS", {
        { 1, /* DRAMS */          {Mul(0.564383), Mul(0.01)},                  Double},
        { 2, /* GRAINS */         {Mul(15.43235835294), Mul(0.01)},            Double},
        { 6, /* OUNCES */         {Mul(0.03527396), Mul(0.01)},                Double},
        { 7, /* POUNDS */         {Div(453.59237), Mul(0.01)},                 Double},
        { 8, /* TONS */           {Div(453.59237), Div(2000), Mul(0.01)},      Double},
        { 9, /* GRAMS */          {Mul(0.01)},                                 Double},
        {10, /* MILLIGRAMS */     {Mul(10)},                                   Single},
        {12, /* DECIGRAMS */      {Div(10)},                                   Single},
        {13, /* DECAGRAMS */      {Div(1000)},                                 Single},
        {14, /* HECTOGRAMS */     {Div(10000)},                                Single},
        {15, /* KILOGRAMS */      {Div(100000)},                               Double},
    }},
    // Block "DECIGRAMS" (row 12)
    // row  unit of the row    steps                                       precision
    {"DECIGRAMS", {
        { 1, /* DRAMS */          {Mul(0.564383), Mul(0.1)},                   Double},
        { 2, /* GRAINS */         {Mul(15.43235835294), Mul(0.1)},             Double},
        { 6, /* OUNCES */         {Mul(0.03527396), Mul(0.1)},                 Double},
        { 7, /* POUNDS */         {Div(453.59237), Mul(0.1)},                  Double},
        { 8, /* TONS */           {Div(453.59237), Div(2000), Mul(0.1)},       Double},
        { 9, /* GRAMS */          {Mul(0.1)},                                  Double},
        {10, /* MILLIGRAMS */     {Mul(100)},                                  Single},
        {11, /* CENTIGRAMS */     {Div(0.1)},                                  Double},
        {13, /* DECAGRAMS */      {Div(100)},                                  Single},
        {14, /* HECTOGRAMS */     {Div(1000)},                                 Single},
        {15, /* KILOGRAMS */      {Div(10000)},                                Single},
    }},
    // Block "GRAMS" (row 9)
    // row  unit of the row    steps                                       precision
    {"GRAMS", {
        { 1, /* DRAMS */          {Mul(0.564383)},                             Double},
        { 2, /* GRAINS */         {Mul(15.43235835294)},                       Double},
        { 6, /* OUNCES */         {Mul(0.03527396)},                           Double},
        { 7, /* POUNDS */         {Div(453.59237)},                            Double},
        { 8, /* TONS */           {Div(453.59237), Div(2000)},                 Double},
        {10, /* MILLIGRAMS */     {Mul(1000)},                                 Single},
        {11, /* CENTIGRAMS */     {Mul(100)},                                  Single},
        {12, /* DECIGRAMS */      {Mul(10)},                                   Single},
        {13, /* DECAGRAMS */      {Div(10)},                                   Single},
        {14, /* HECTOGRAMS */     {Div(100)},                                  Single},
        {15, /* KILOGRAMS */      {Div(1000)},                                 Single},
    }},
    // Block "DECAGRAMS" (row 13)
    // row  unit of the row    steps                                       precision
    {"DECAGRAMS", {
        { 1, /* DRAMS */          {Mul(0.564383), Mul(10)},                    Double},
        { 2, /* GRAINS */         {Mul(154.3235835294)},                       Double},
        { 6, /* OUNCES */         {Mul(0.03527396), Mul(10)},                  Double},
        { 7, /* POUNDS */         {Div(453.59237), Mul(10)},                   Double},
        { 8, /* TONS */           {Div(45.359237), Div(2000)},                 Double},
        { 9, /* GRAMS */          {Mul(10)},                                   Single},
        {10, /* MILLIGRAMS */     {Mul(10000)},                                Single},
        {11, /* CENTIGRAMS */     {Mul(1000)},                                 Single},
        {12, /* DECIGRAMS */      {Mul(100)},                                  Single},
        {14, /* HECTOGRAMS */     {Div(10)},                                   Single},
        {15, /* KILOGRAMS */      {Div(100)},                                  Single},
    }},
    // Block "HECTOGRAMS" (row 14)
    // row  unit of the row    steps                                       precision
    {"HECTOGRAMS", {
        { 1, /* DRAMS */          {Mul(0.564383), Mul(100)},                   Double},
        { 2, /* GRAINS */         {Mul(1543.235835294)},                       Double},
        { 6, /* OUNCES */         {Mul(0.03527396), Mul(100)},                 Double},
        { 7, /* POUNDS */         {Div(453.59237), Mul(100)},                  Double},
        { 8, /* TONS */           {Div(4.5359237), Div(2000)},                 Double},
        { 9, /* GRAMS */          {Mul(100)},                                  Single},
        {10, /* MILLIGRAMS */     {Mul(100000)},                               Double},
        {11, /* CENTIGRAMS */     {Mul(10000)},                                Single},
        {12, /* DECIGRAMS */      {Mul(1000)},                                 Single},
        {13, /* DECAGRAMS */      {Mul(10)},                                   Single},
        {15, /* KILOGRAMS */      {Div(10)},                                   Single},
    }},
    // Block "KILOGRAMS" (row 15)
    // row  unit of the row    steps                                       precision
    {"KILOGRAMS", {
        { 1, /* DRAMS */          {Mul(0.564383), Mul(1000)},                  Double},
        { 2, /* GRAINS */         {Mul(15432.35835294)},                       Double},
        { 6, /* OUNCES */         {Mul(0.03527396), Mul(1000)},                Double},
        { 7, /* POUNDS */         {Div(453.59237), Mul(1000)},                 Double},
        { 8, /* TONS */           {Div(0.45359237), Div(2000)},                Double},
        { 9, /* GRAMS */          {Mul(1000)},                                 Single},
        {10, /* MILLIGRAMS */     {Mul(1000000)},                              Double},
        {11, /* CENTIGRAMS */     {Mul(100000)},                               Double},
        {12, /* DECIGRAMS */      {Mul(10000)},                                Single},
        {13, /* DECAGRAMS */      {Mul(100)},                                  Single},
        {14, /* HECTOGRAMS */     {Mul(10)},                                   Single},
    }},
    }, MarkingInRowOrder(*FindCategory("WEIGHT"))};
    // clang-format on
    return table;
}

}  // namespace mensura
