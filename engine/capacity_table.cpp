// The capacity table: the cells of every capacity unit's block, as
// printed, and the marking list.
#include "catalogue.h"
#include "table.h"

namespace mensura {

// Capacity: US and imperial measures and litres. Constants are the table's
// own and stay exactly as they are, including the rounded ones.
const Table& CapacityTable() {
    // clang-format off
    static const Table table{"CAPACITY", {
    // Block "BARREL(US)" (row 1)
    // row  unit of the row    steps                                       precision
    {"BARREL(US)", {
        { 2, /* GALLONS(US) */    {Mul(31.5)},                                 Double},
        { 3, /* GALLONS(GB) */    {Mul(26.2292)},                              Double},
        { 4, /* QUARTS(US) */     {Mul(126)},                                  Single},
        { 5, /* QUARTS(GB) */     {Mul(104.916924)},                           Double},
        { 6, /* PINTS(US) */      {Mul(252)},                                  Single},
        { 7, /* PINTS(GB) */      {Mul(209.833848)},                           Double},
        { 8, /* CUPS */           {Mul(504)},                                  Single},
        { 9, /* OUNCES(US) */     {Mul(4032)},                                 Single},
        {10, /* OUNCES(GB) */     {Mul(4196.68)},                              Double},
        {11, /* TABLESPOONS */    {Mul(8064)},                                 Single},
        {12, /* TEASPOONS */      {Mul(24192)},                                Single},
        {13, /* MILLILITER */     {Mul(119240)},                               Double},
        {14, /* LITER */          {Mul(119.24)},                               Double},
        {15, /* KILOLITER */      {Mul(0.11924)},                              Double},
    }},
    // Block "GALLONS(US)" (row 2)
    // row  unit of the row    steps                                       precision
    {"GALLONS(US)", {
        { 1, /* BARREL(US) */     {Div(31.5)},                                 Double},
        { 3, /* GALLONS(GB) */    {Mul(0.832674)},                             Double},
        { 4, /* QUARTS(US) */     {Mul(4)},                                    Single},
        { 5, /* QUARTS(GB) */     {Mul(3.330701934)},                          Double},
        { 6, /* PINTS(US) */      {Mul(8)},                                    Single},
        { 7, /* PINTS(GB) */      {Mul(6.66158)},                              Double},
        { 8, /* CUPS */           {Mul(16)},                                   Single},
        { 9, /* OUNCES(US) */     {Mul(128)},                                  Single},
        {10, /* OUNCES(GB) */     {Mul(133.228)},                              Double},
        {11, /* TABLESPOONS */    {Mul(256)},                                  Single},
        {12, /* TEASPOONS */      {Mul(768)},                                  Single},
        {13, /* MILLILITER */     {Mul(3785.41)},                              Double},
        {14, /* LITER */          {Mul(3.78541)},                              Double},
        {15, /* KILOLITER */      {Mul(0.00378541)},                           Double},
    }},
    // Block "GALLONS(GB)" (row 3)
    // row  unit of the row    steps                                       precision
    {"GALLONS(GB)", {
        { 1, /* BARREL(US) */     {Mul(0.0381254)},                            Double},
        { 2, /* GALLONS(US) */    {Mul(1.20095)},                              Double},
        { 4, /* QUARTS(US) */     {Mul(4.8038)},                               Double},
        { 5, /* QUARTS(GB) */     {Mul(4.000115)},                             Double},
        { 6, /* PINTS(US) */      {Mul(9.6076)},                               Double},
        { 7, /* PINTS(GB) */      {Mul(8.00023)},                              Double},
        { 8, /* CUPS */           {Mul(19.2152)},                              Double},
        { 9, /* OUNCES(US) */     {Mul(153.722)},                              Double},
        {10, /* OUNCES(GB) */     {Mul(160)},                                  Single},
        {11, /* TABLESPOONS */    {Mul(307.443)},                              Double},
        {12, /* TEASPOONS */      {Mul(922.329)},                              Double},
        {13, /* MILLILITER */     {Mul(4546.09)},                              Double},
        {14, /* LITER */          {Mul(4.54609)},                              Double},
        {15, /* KILOLITER */      {Mul(0.00454609)},                           Double},
    }},
    // Block "QUARTS(US)" (row 4)
    // row  unit of the row    steps                                       precision
    {"QUARTS(US)", {
        { 1, /* BARREL(US) */     {Mul(0.00793651)},                           Double},
        { 2, /* GALLONS(US) */    {Mul(0.25)},                                 Double},
        { 3, /* GALLONS(GB) */    {Mul(0.208169)},                             Double},
        { 5, /* QUARTS(GB) */     {Mul(0.832675483620986)},                    Double},
        { 6, /* PINTS(US) */      {Twice()},                                   Single},
        { 7, /* PINTS(GB) */      {Mul(1.66535096730059)},                     Double},
        { 8, /* CUPS */           {Mul(4)},                                    Single},
        { 9, /* OUNCES(US) */     {Mul(32)},                                   Single},
        {10, /* OUNCES(GB) */     {Mul(33.3070193460117)},                     Double},
        {11, /* TABLESPOONS */    {Mul(64)},                                   Single},
        {12, /* TEASPOONS */      {Mul(192)},                                  Single},
        {13, /* MILLILITER */     {Mul(946.353)},                              Double},
        {14, /* LITER */          {Mul(0.946353)},                             Double},
        {15, /* KILOLITER */      {Mul(0.000946353)},                          Double},
    }},
    // Block "QUARTS(GB)" (row 5)
    // row  unit of the row    steps                                       precision
    {"QUARTS(GB)", {
        { 1, /* BARREL(US) */     {Div(104.916924)},                           Double},
        { 2, /* GALLONS(US) */    {Mul(0.300237012999165)},                    Double},
        { 3, /* GALLONS(GB) */    {Mul(0.250000000010998)},                    Double},
        { 4, /* QUARTS(US) */     {Mul(1.20094805199666)},                     Double},
        { 6, /* PINTS(US) */      {Mul(2.40189610399332)},                     Double},
        { 7, /* PINTS(GB) */      {Mul(2.00000000007039)},                     Double},
        { 8, /* CUPS */           {Mul(4.80379220798664)},                     Double},
        { 9, /* OUNCES(US) */     {Mul(38.4303376632434)},                     Double},
        {10, /* OUNCES(GB) */     {Mul(40.0000000014078)},                     Double},
        {11, /* TABLESPOONS */    {Mul(76.8606753290857)},                     Double},
        {12, /* TEASPOONS */      {Mul(230.58202598102)},                      Double},
        {13, /* MILLILITER */     {Mul(1136.520727)},                          Double},
        {14, /* LITER */          {Mul(1.136520727)},                          Double},
        {15, /* KILOLITER */      {Mul(0.001136520727)},                       Double},
    }},
    // Block "PINTS(US)" (row 6)
    // row  unit of the row    steps                                       precision
    {"PINTS(US)", {
        { 1, /* BARREL(US) */     {Div(252)},                                  Single},
        { 2, /* GALLONS(US) */    {Mul(0.125)},                                Double},
        { 3, /* GALLONS(GB) */    {Mul(0.104084)},                             Double},
        { 4, /* QUARTS(US) */     {Mul(0.5)},                                  Double},
        { 5, /* QUARTS(GB) */     {Mul(0.416337741810493)},                    Double},
        { 7, /* PINTS(GB) */      {Mul(0.832698)},                             Double},
        { 8, /* CUPS */           {Twice()},                                   Single},
        { 9, /* OUNCES(US) */     {Mul(16)},                                   Single},
        {10, /* OUNCES(GB) */     {Mul(16.6535)},                              Double},
        {11, /* TABLESPOONS */    {Mul(32)},                                   Single},
        {12, /* TEASPOONS */      {Mul(96)},                                   Single},
        {13, /* MILLILITER */     {Mul(473.177)},                              Double},
        {14, /* LITER */          {Mul(0.473176)},                             Double},
        {15, /* KILOLITER */      {Mul(0.000473176)},                          Double},
    }},
    // Block "PINTS(GB)" (row 7)
    // row  unit of the row    steps                                       precision
    {"PINTS(GB)", {
        { 1, /* BARREL(US) */     {Div(209.833848)},                           Double},
        { 2, /* GALLONS(US) */    {Mul(0.150114)},                             Double},
        { 3, /* GALLONS(GB) */    {Mul(0.124996)},                             Double},
        { 4, /* QUARTS(US) */     {Mul(0.600458)},                             Double},
        { 5, /* QUARTS(GB) */     {Mul(0.499999999982402)},                    Double},
        { 6, /* PINTS(US) */      {Mul(1.20092)},                              Double},
        { 8, /* CUPS */           {Mul(2.40183)},                              Double},
        { 9, /* OUNCES(US) */     {Mul(19.2146)},                              Double},
        {10, /* OUNCES(GB) */     {Mul(19.9994)},                              Double},
        {11, /* TABLESPOONS */    {Mul(38.4293)},                              Double},
        {12, /* TEASPOONS */      {Mul(115.288)},                              Double},
        {13, /* MILLILITER */     {Mul(568.245)},                              Double},
        {14, /* LITER */          {Mul(0.568245)},                             Double},
        {15, /* KILOLITER */      {Mul(0.000568245)},                          Double},
    }},
    // Block "CUPS" (row 8)
    // row  unit of the row    steps                                       precision
    {"CUPS", {
        { 1, /* BARREL(US) */     {Mul(0.00198413)},                           Double},
        { 2, /* GALLONS(US) */    {Mul(0.0625)},                               Double},
        { 3, /* GALLONS(GB) */    {Mul(0.0520421)},                            Double},
        { 4, /* QUARTS(US) */     {Mul(0.25)},                                 Double},
        { 5, /* QUARTS(GB) */     {Mul(0.208168870905247)},                    Double},
        { 6, /* PINTS(US) */      {Mul(0.5)},                                  Double},
        { 7, /* PINTS(GB) */      {Mul(0.416349)},                             Double},
        { 9, /* OUNCES(US) */     {Mul(8)},                                    Single},
        {10, /* OUNCES(GB) */     {Mul(8.32674)},                              Double},
        {11, /* TABLESPOONS */    {Mul(16)},                                   Single},
        {12, /* TEASPOONS */      {Mul(48)},                                   Single},
        {13, /* MILLILITER */     {Mul(236.588)},                              Double},
        {14, /* LITER */          {Mul(0.236588)},                             Double},
        {15, /* KILOLITER */      {Mul(0.000236588)},                          Double},
    }},
    // Block "OUNCES(US)" (row 9)
    // row  unit of the row    steps                                       precision
    {"OUNCES(US)", {
        { 1, /* BARREL(US) */     {Mul(0.000248016)},                          Double},
        { 2, /* GALLONS(US) */    {Mul(0.0078125)},                            Double},
        { 3, /* GALLONS(GB) */    {Mul(0.00650527)},                           Double},
        { 4, /* QUARTS(US) */     {Mul(0.03125)},                              Double},
        { 5, /* QUARTS(GB) */     {Mul(0.026021109)},                          Double},
        { 6, /* PINTS(US) */      {Mul(0.0625)},                               Double},
        { 7, /* PINTS(GB) */      {Mul(0.0520436)},                            Double},
        { 8, /* CUPS */           {Mul(0.125)},                                Double},
        {10, /* OUNCES(GB) */     {Mul(1.04084)},                              Double},
        {11, /* TABLESPOONS */    {Twice()},                                   Single},
        {12, /* TEASPOONS */      {Mul(6)},                                    Single},
        {13, /* MILLILITER */     {Mul(29.5735)},                              Double},
        {14, /* LITER */          {Mul(0.0295735)},                            Double},
        {15, /* KILOLITER */      {Mul(0.0000295735)},                         Double},
    }},
    // Block "OUNCES(GB)" (row 10)
    // row  unit of the row    steps                                       precision
    {"OUNCES(GB)", {
        { 1, /* BARREL(US) */     {Mul(0.000238284)},                          Double},
        { 2, /* GALLONS(US) */    {Mul(0.00750594)},                           Double},
        { 3, /* GALLONS(GB) */    {Mul(0.00625)},                              Double},
        { 4, /* QUARTS(US) */     {Mul(0.0300237)},                            Double},
        { 5, /* QUARTS(GB) */     {Mul(0.025)},                                Double},
        { 6, /* PINTS(US) */      {Mul(0.0600475)},                            Double},
        { 7, /* PINTS(GB) */      {Mul(0.0500014)},                            Double},
        { 8, /* CUPS */           {Mul(0.120095)},                             Double},
        { 9, /* OUNCES(US) */     {Mul(0.96076)},                              Double},
        {11, /* TABLESPOONS */    {Mul(1.92152)},                              Double},
        {12, /* TEASPOONS */      {Mul(5.76456)},                              Double},
        {13, /* MILLILITER */     {Mul(28.4131)},                              Double},
        {14, /* LITER */          {Mul(0.0284131)},                            Double},
        {15, /* KILOLITER */      {Mul(0.0000284131)},                         Double},
    }},
    // Block "TABLESPOONS" (row 11)
    // row  unit of the row    steps                                       precision
    {"TABLESPOONS", {
        { 1, /* BARREL(US) */     {Mul(0.000124008)},                          Double},
        { 2, /* GALLONS(US) */    {Mul(0.00390625)},                           Double},
        { 3, /* GALLONS(GB) */    {Mul(0.00325263)},                           Double},
        { 4, /* QUARTS(US) */     {Mul(0.015625)},                             Double},
        { 5, /* QUARTS(GB) */     {Mul(0.0130106)},                            Double},
        { 6, /* PINTS(US) */      {Mul(0.03125)},                              Double},
        { 7, /* PINTS(GB) */      {Mul(0.0260218)},                            Double},
        { 8, /* CUPS */           {Mul(0.0625)},                               Double},
        { 9, /* OUNCES(US) */     {Mul(0.5)},                                  Double},
        {10, /* OUNCES(GB) */     {Mul(0.520421)},                             Double},
        {12, /* TEASPOONS */      {Mul(3)},                                    Single},
        {13, /* MILLILITER */     {Mul(14.7868)},                              Double},
        {14, /* LITER */          {Mul(0.0147868)},                            Double},
        {15, /* KILOLITER */      {Mul(0.0000147868)},                         Double},
    }},
    // Block "TEASPOONS" (row 12)
    // row  unit of the row    steps                                       precision
    {"TEASPOONS", {
        { 1, /* BARREL(US) */     {Mul(0.000041336)},                          Double},
        { 2, /* GALLONS(US) */    {Mul(0.00130208)},                           Double},
        { 3, /* GALLONS(GB) */    {Mul(0.00108421)},                           Double},
        { 4, /* QUARTS(US) */     {Mul(0.00520833)},                           Double},
        { 5, /* QUARTS(GB) */     {Mul(0.0043369)},                            Double},
        { 6, /* PINTS(US) */      {Mul(0.0104167)},                            Double},
        { 7, /* PINTS(GB) */      {Mul(0.00867394)},                           Double},
        { 8, /* CUPS */           {Mul(0.0208333)},                            Double},
        { 9, /* OUNCES(US) */     {Mul(0.166667)},                             Double},
        {10, /* OUNCES(GB) */     {Mul(0.173474)},                             Double},
        {11, /* TABLESPOONS */    {Mul(0.333333)},                             Double},
        {13, /* MILLILITER */     {Mul(4.92892)},                              Double},
        {14, /* LITER */          {Mul(0.00492892)},                           Double},
        {15, /* KILOLITER */      {Mul(0.00000492892)},                        Double},
    }},
    // Block "MILLILITER" (row 13)
    // row  unit of the row    steps                                       precision
    {"MILLILITER", {
        { 1, /* BARREL(US) */     {Mul(0.00000838641)},                        Double},
        { 2, /* GALLONS(US) */    {Mul(0.000264172)},                          Double},
        { 3, /* GALLONS(GB) */    {Mul(0.000219969)},                          Double},
        { 4, /* QUARTS(US) */     {Mul(0.00105669)},                           Double},
        { 5, /* QUARTS(GB) */     {Mul(0.000879878)},                          Double},
        { 6, /* PINTS(US) */      {Mul(0.00211338)},                           Double},
        { 7, /* PINTS(GB) */      {Mul(0.0017598)},                            Double},
        { 8, /* CUPS */           {Mul(0.00422675)},                           Double},
        { 9, /* OUNCES(US) */     {Mul(0.033814)},                             Double},
        {10, /* OUNCES(GB) */     {Mul(0.0351951)},                            Double},
        {11, /* TABLESPOONS */    {Mul(0.0676281)},                            Double},
        {12, /* TEASPOONS */      {Mul(0.202884)},                             Double},
        {14, /* LITER */          {Mul(0.001)},                                Double},
        {15, /* KILOLITER */      {Mul(0.000001)},                             Double},
    }},
    // Block "LITER" (row 14)
    // row  unit of the row    steps                                       precision
    {"LITER", {
        { 1, /* BARREL(US) */     {Mul(0.00838641)},                           Double},
        { 2, /* GALLONS(US) */    {Mul(0.264172)},                             Double},
        { 3, /* GALLONS(GB) */    {Mul(0.219969)},                             Double},
        { 4, /* QUARTS(US) */     {Mul(1.05669)},                              Double},
        { 5, /* QUARTS(GB) */     {Mul(0.8798784)},                            Double},
        { 6, /* PINTS(US) */      {Mul(2.11338)},                              Double},
        { 7, /* PINTS(GB) */      {Mul(1.7598)},                               Double},
        { 8, /* CUPS */           {Mul(4.22675)},                              Double},
        { 9, /* OUNCES(US) */     {Mul(33.814)},                               Double},
        {10, /* OUNCES(GB) */     {Mul(35.1951)},                              Double},
        {11, /* TABLESPOONS */    {Mul(67.6281)},                              Double},
        {12, /* TEASPOONS */      {Mul(202.884)},                              Double},
        {13, /* MILLILITER */     {Mul(1000)},                                 Single},
        {15, /* KILOLITER */      {Mul(0.001)},                                Double},
    }},
    // Block "KILOLITER" (row 15)
    // row  unit of the row    steps                                       precision
    {"KILOLITER", {
        { 1, /* BARREL(US) */     {Mul(8.38641)},                              Double},
        { 2, /* GALLONS(US) */    {Mul(264.172)},                              Double},
        { 3, /* GALLONS(GB) */    {Mul(219.969)},                              Double},
        { 4, /* QUARTS(US) */     {Mul(1056.69)},                              Double},
        { 5, /* QUARTS(GB) */     {Mul(879.8784)},                             Double},
        { 6, /* PINTS(US) */      {Mul(2113.38)},                              Double},
        { 7, /* PINTS(GB) */      {Mul(1759.8)},                               Double},
        { 8, /* CUPS */           {Mul(4226.75)},                              Double},
        { 9, /* OUNCES(US) */     {Mul(33814)},                                Double},
        {10, /* OUNCES(GB) */     {Mul(35195.1)},                              Double},
        {11, /* TABLESPOONS */    {Mul(67628.1)},                              Double},
        {12, /* TEASPOONS */      {Mul(202884)},                               Double},
        {13, /* MILLILITER */     {Mul(1000000)},                              Double},
        {14, /* LITER */          {Mul(1000)},                                 Single},
    }},
    }, MarkingInRowOrder(*FindCategory("CAPACITY"))};
    // clang-format on
    return table;
}

}  // namespace mensura
