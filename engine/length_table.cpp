// The length table: the cells of every length unit's block, as printed,
// and the marking list.
#include "catalogue.h"
#include "table.h"

namespace mensura {

// Length: statute units tied to metric ones by the inch of exactly 25.4 mm.
// Several constants are shortened or rounded (0.0033 feet per millimetre,
// 1.6093 kilometres per mile, ...); they are the converter's own figures and
// stay exactly as they are, so rows of one unit need not agree in their
// last digits.
const Table& LengthTable() {
    // clang-format off
    static const Table table{"LENGTH", {
    // Block "INCHES" (row 1)
    // row  unit of the row    steps                                       precision
    {"INCHES", {
        { 2, /* FEET */           {Div(12)},                                   Single},
        { 3, /* YARDS */          {Div(36)},                                   Single},
        { 4, /* FATHOM */         {Div(72)},                                   Single},
        { 5, /* RODS */           {Div(198)},                                  Single},
        { 6, /* FURLONG */        {Div(7920)},                                 Single},
        { 7, /* MILES */          {Div(63360)},                                Double},
        { 8, /* LEAGUE */         {Div(190080)},                               Double},
        { 9, /* MILLIMETERS */    {Mul(25.4)},                                 Double},
        {10, /* CENTIMETERS */    {Mul(2.54)},                                 Double},
        {11, /* DECIMETERS */     {Mul(0.254)},                                Double},
        {12, /* METERS */         {Mul(0.0254)},                               Double},
        {13, /* DEKAMETERS */     {Mul(0.00254)},                              Double},
        {14, /* HECTOMETERS */    {Mul(0.000254)},                             Double},
        {15, /* KILOMETERS */     {Mul(0.0000254)},                            Double},
    }},
    // Block "FEET" (row 2)
    // row  unit of the row    steps                                       precision
    {"FEET", {
        { 1, /* INCHES */         {Mul(12)},                                   Single},
        { 3, /* YARDS */          {Div(3)},                                    Single},
        { 4, /* FATHOM */         {Div(6)},                                    Single},
        { 5, /* RODS */           {Div(16.5)},                                 Double},
        { 6, /* FURLONG */        {Div(660)},                                  Single},
        { 7, /* MILES */          {Div(5280)},                                 Single},
        { 8, /* LEAGUE */         {Div(15840)},                                Single},
        { 9, /* MILLIMETERS */    {Mul(304.8)},                                Double},
        {10, /* CENTIMETERS */    {Mul(30.48)},                                Double},
        {11, /* DECIMETERS */     {Mul(3.048)},                                Double},
        {12, /* METERS */         {Mul(0.3048)},                               Double},
        {13, /* DEKAMETERS */     {Mul(0.03048)},                              Double},
        {14, /* HECTOMETERS */    {Mul(0.003048)},                             Double},
        {15, /* KILOMETERS */     {Mul(0.0003048)},                            Double},
    }},
    // Block "YARDS" (row 3)
    // row  unit of the row    steps                                       precision
    {"YARDS", {
        { 1, /* INCHES */         {Mul(36)},                                   Single},
        { 2, /* FEET */           {Mul(3)},                                    Single},
        { 4, /* FATHOM */         {Div(2)},                                    Single},
        { 5, /* RODS */           {Div(5.5)},                                  Double},
        { 6, /* FURLONG */        {Div(220)},                                  Single},
        { 7, /* MILES */          {Div(1760)},                                 Single},
        { 8, /* LEAGUE */         {Div(5280)},                                 Single},
        { 9, /* MILLIMETERS */    {Mul(914.4)},                                Double},
        {10, /* CENTIMETERS */    {Mul(91.44)},                                Double},
        {11, /* DECIMETERS */     {Mul(9.144)},                                Double},
        {12, /* METERS */         {Mul(0.9144)},                               Double},
        {13, /* DEKAMETERS */     {Mul(0.09144)},                              Double},
        {14, /* HECTOMETERS */    {Mul(0.009144)},                             Double},
        {15, /* KILOMETERS */     {Mul(0.000914)},                             Double},
    }},
    // Block "FATHOM" (row 4)
    // row  unit of the row    steps                                       precision
    {"FATHOM", {
        { 1, /* INCHES */         {Mul(72)},                                   Single},
        { 2, /* FEET */           {Mul(6)},                                    Single},
        { 3, /* YARDS */          {Twice()},                                   Single},
        { 5, /* RODS */           {Div(2.75)},                                 Double},
        { 6, /* FURLONG */        {Div(110)},                                  Single},
        { 7, /* MILES */          {Div(880)},                                  Single},
        { 8, /* LEAGUE */         {Div(2640)},                                 Single},
        { 9, /* MILLIMETERS */    {Mul(1828.8)},                               Double},
        {10, /* CENTIMETERS */    {Mul(182.88)},                               Double},
        {11, /* DECIMETERS */     {Mul(18.288)},                               Double},
        {12, /* METERS */         {Mul(1.8288)},                               Double},
        {13, /* DEKAMETERS */     {Mul(0.18288)},                              Double},
        {14, /* HECTOMETERS */    {Mul(0.018288)},                             Double},
        {15, /* KILOMETERS */     {Mul(0.001828)},                             Double},
    }},
    // Block "RODS" (row 5)
    // row  unit of the row    steps                                       precision
    {"RODS", {
        { 1, /* INCHES */         {Mul(198)},                                  Single},
        { 2, /* FEET */           {Mul(16.5)},                                 Double},
        { 3, /* YARDS */          {Mul(5.5)},                                  Double},
        { 4, /* FATHOM */         {Mul(2.75)},                                 Double},
        { 6, /* FURLONG */        {Div(40)},                                   Single},
        { 7, /* MILES */          {Div(320)},                                  Single},
        { 8, /* LEAGUE */         {Div(960)},                                  Single},
        { 9, /* MILLIMETERS */    {Mul(5029.2)},                               Double},
        {10, /* CENTIMETERS */    {Mul(502.92)},                               Double},
        {11, /* DECIMETERS */     {Mul(50.292)},                               Double},
        {12, /* METERS */         {Mul(5.0292)},                               Double},
        {13, /* DEKAMETERS */     {Mul(0.50292)},                              Double},
        {14, /* HECTOMETERS */    {Mul(0.050292)},                             Double},
        {15, /* KILOMETERS */     {Mul(0.0050292)},                            Double},
    }},
    // Block "FURLONG" (row 6)
    // row  unit of the row    steps                                       precision
    {"FURLONG", {
        { 1, /* INCHES */         {Mul(7920)},                                 Single},
        { 2, /* FEET */           {Mul(660)},                                  Single},
        { 3, /* YARDS */          {Mul(220)},                                  Single},
        { 4, /* FATHOM */         {Mul(110)},                                  Single},
        { 5, /* RODS */           {Mul(40)},                                   Single},
        { 7, /* MILES */          {Div(8)},                                    Single},
        { 8, /* LEAGUE */         {Div(24)},                                   Single},
        { 9, /* MILLIMETERS */    {Mul(201168)},                               Double},
        {10, /* CENTIMETERS */    {Mul(20116.8)},                              Double},
        {11, /* DECIMETERS */     {Mul(2011.68)},                              Double},
        {12, /* METERS */         {Mul(201.168)},                              Double},
        {13, /* DEKAMETERS */     {Mul(20.1168)},                              Double},
        {14, /* HECTOMETERS */    {Mul(2.01168)},                              Double},
        {15, /* KILOMETERS */     {Mul(0.201168)},                             Double},
    }},
    // Block "MILES" (row 7)
    // row  unit of the row    steps                                       precision
    {"MILES", {
        { 1, /* INCHES */         {Mul(63360)},                                Double},
        { 2, /* FEET */           {Mul(5280)},                                 Single},
        { 3, /* YARDS */          {Mul(1760)},                                 Single},
        { 4, /* FATHOM */         {Mul(880)},                                  Single},
        { 5, /* RODS */           {Mul(320)},                                  Single},
        { 6, /* FURLONG */        {Mul(8)},                                    Single},
        { 8, /* LEAGUE */         {Div(3)},                                    Single},
        { 9, /* MILLIMETERS */    {Mul(1609344)},                              Double},
        {10, /* CENTIMETERS */    {Mul(160934.4)},                             Double},
        {11, /* DECIMETERS */     {Mul(16093.44)},                             Double},
        {12, /* METERS */         {Mul(1609.344)},                             Double},
        {13, /* DEKAMETERS */     {Mul(160.9344)},                             Double},
        {14, /* HECTOMETERS */    {Mul(16.0934)},                              Double},
        {15, /* KILOMETERS */     {Mul(1.6093)},                               Double},
    }},
    // Block "LEAGUE" (row 8)
    // row  unit of the row    steps                                       precision
    {"LEAGUE", {
        { 1, /* INCHES */         {Mul(190080)},                               Double},
        { 2, /* FEET */           {Mul(15840)},                                Single},
        { 3, /* YARDS */          {Mul(5280)},                                 Single},
        { 4, /* FATHOM */         {Mul(2640)},                                 Single},
        { 5, /* RODS */           {Mul(960)},                                  Single},
        { 6, /* FURLONG */        {Mul(24)},                                   Single},
        { 7, /* MILES */          {Mul(3)},                                    Single},
        { 9, /* MILLIMETERS */    {Mul(4828032)},                              Double},
        {10, /* CENTIMETERS */    {Mul(482803.2)},                             Double},
        {11, /* DECIMETERS */     {Mul(48280.32)},                             Double},
        {12, /* METERS */         {Mul(4828.032)},                             Double},
        {13, /* DEKAMETERS */     {Mul(482.8032)},                             Double},
        {14, /* HECTOMETERS */    {Mul(48.2803)},                              Double},
        {15, /* KILOMETERS */     {Mul(4.828)},                                Double},
    }},
    // Block "MILLIMETERS" (row 9)
    // row  unit of the row    steps                                       precision
    {"MILLIMETERS", {
        { 1, /* INCHES */         {Mul(0.039370078740157)},                    Double},
        { 2, /* FEET */           {Mul(0.0033)},                               Double},
        { 3, /* YARDS */          {Mul(0.00109)},                              Double},
        { 4, /* FATHOM */         {Mul(0.001), Mul(0.5468)},                   Double},
        { 5, /* RODS */           {Mul(0.001), Mul(0.1988)},                   Double},
        { 6, /* FURLONG */        {Mul(0.001), Mul(0.00497)},                  Double},
        { 7, /* MILES */          {Mul(0.001), Mul(0.000621)},                 Double},
        { 8, /* LEAGUE */         {Mul(0.001), Mul(0.000621), Div(3)},         Double},
        {10, /* CENTIMETERS */    {Div(10)},                                   Single},
        {11, /* DECIMETERS */     {Div(100)},                                  Single},
        {12, /* METERS */         {Div(1000)},                                 Single},
        {13, /* DEKAMETERS */     {Div(10000)},                                Single},
        {14, /* HECTOMETERS */    {Div(100000)},                               Double},
        {15, /* KILOMETERS */     {Div(1000000)},                              Double},
    }},
    // Block "CENTIMETERS" (row 10)
    // row  unit of the row    steps                                       precision
    {"CENTIMETERS", {
        { 1, /* INCHES */         {Mul(0.393700787401574)},                    Double},
        { 2, /* FEET */           {Mul(0.0328)},                               Double},
        { 3, /* YARDS */          {Mul(0.0109)},                               Double},
        { 4, /* FATHOM */         {Mul(0.00545)},                              Double},
        { 5, /* RODS */           {Mul(0.00198839)},                           Double},
        { 6, /* FURLONG */        {Div(220), Mul(0.010936)},                   Double},
        { 7, /* MILES */          {Mul(0.00000621)},                           Double},
        { 8, /* LEAGUE */         {Mul(0.00000621), Div(3)},                   Double},
        { 9, /* MILLIMETERS */    {Mul(10)},                                   Single},
        {11, /* DECIMETERS */     {Mul(0.1)},                                  Double},
        {12, /* METERS */         {Mul(0.01)},                                 Double},
        {13, /* DEKAMETERS */     {Mul(0.001)},                                Double},
        {14, /* HECTOMETERS */    {Mul(0.0001)},                               Double},
        {15, /* KILOMETERS */     {Mul(0.00001)},                              Double},
    }},
    // Block "DECIMETERS" (row 11)
    // row  unit of the row    steps                                       precision
    {"DECIMETERS", {
        { 1, /* INCHES */         {Mul(3.93700787401574)},                     Double},
        { 2, /* FEET */           {Mul(0.32808)},                              Double},
        { 3, /* YARDS */          {Mul(0.10936)},                              Double},
        { 4, /* FATHOM */         {Mul(0.05468)},                              Double},
        { 5, /* RODS */           {Mul(0.01988)},                              Double},
        { 6, /* FURLONG */        {Mul(0.0005)},                               Double},
        { 7, /* MILES */          {Mul(0.0000621)},                            Double},
        { 8, /* LEAGUE */         {Mul(0.0000621), Div(3)},                    Double},
        { 9, /* MILLIMETERS */    {Mul(100)},                                  Single},
        {10, /* CENTIMETERS */    {Mul(10)},                                   Single},
        {12, /* METERS */         {Mul(0.1)},                                  Double},
        {13, /* DEKAMETERS */     {Mul(0.01)},                                 Double},
        {14, /* HECTOMETERS */    {Mul(0.001)},                                Double},
        {15, /* KILOMETERS */     {Mul(0.0001)},                               Double},
    }},
    // Block "METERS" (row 12)
    // row  unit of the row    steps                                       precision
    {"METERS", {
        { 1, /* INCHES */         {Mul(39.3700787401574)},                     Double},
        { 2, /* FEET */           {Mul(3.2808)},                               Double},
        { 3, /* YARDS */          {Mul(1.0936)},                               Double},
        { 4, /* FATHOM */         {Mul(0.5468)},                               Double},
        { 5, /* RODS */           {Mul(0.1988)},                               Double},
        { 6, /* FURLONG */        {Mul(0.005)},                                Double},
        { 7, /* MILES */          {Mul(0.000621)},                             Double},
        { 8, /* LEAGUE */         {Mul(0.000621), Div(3)},                     Double},
        { 9, /* MILLIMETERS */    {Mul(1000)},                                 Single},
        {10, /* CENTIMETERS */    {Mul(100)},                                  Single},
        {11, /* DECIMETERS */     {Mul(10)},                                   Single},
        {13, /* DEKAMETERS */     {Mul(0.1)},                                  Double},
        {14, /* HECTOMETERS */    {Mul(0.01)},                                 Double},
        {15, /* KILOMETERS */     {Div(1000)},                                 Single},
    }},
    // Block "DEKAMETERS" (row 13)
    // row  unit of the row    steps                                       precision
    {"DEKAMETERS", {
        { 1, /* INCHES */         {Mul(393.700787401574)},                     Double},
        { 2, /* FEET */           {Mul(32.808)},                               Double},
        { 3, /* YARDS */          {Mul(10.936)},                               Double},
        { 4, /* FATHOM */         {Mul(5.468)},                                Double},
        { 5, /* RODS */           {Mul(1.988)},                                Double},
        { 6, /* FURLONG */        {Mul(0.05)},                                 Double},
        { 7, /* MILES */          {Mul(0.00621)},                              Double},
        { 8, /* LEAGUE */         {Mul(0.00621), Div(3)},                      Double},
        { 9, /* MILLIMETERS */    {Mul(10000)},                                Single},
        {10, /* CENTIMETERS */    {Mul(1000)},                                 Single},
        {11, /* DECIMETERS */     {Mul(100)},                                  Single},
        {12, /* METERS */         {Mul(10)},                                   Single},
        {14, /* HECTOMETERS */    {Mul(0.1)},                                  Double},
        {15, /* KILOMETERS */     {Mul(0.01)},                                 Double},
    }},
    // Block "HECTOMETERS" (row 14)
    // row  unit of the row    steps                                       precision
    {"HECTOMETERS", {
        { 1, /* INCHES */         {Mul(3937.00787401574)},                     Double},
        { 2, /* FEET */           {Mul(328.08399)},                            Double},
        { 3, /* YARDS */          {Mul(109.36133)},                            Double},
        { 4, /* FATHOM */         {Mul(54.680665)},                            Double},
        { 5, /* RODS */           {Mul(19.88388)},                             Double},
        { 6, /* FURLONG */        {Mul(0.06213), Mul(8)},                      Double},
        { 7, /* MILES */          {Mul(0.06213)},                              Double},
        { 8, /* LEAGUE */         {Mul(0.06213), Div(3)},                      Double},
        { 9, /* MILLIMETERS */    {Mul(100000)},                               Double},
        {10, /* CENTIMETERS */    {Mul(10000)},                                Single},
        {11, /* DECIMETERS */     {Mul(1000)},                                 Single},
        {12, /* METERS */         {Mul(100)},                                  Single},
        {13, /* DEKAMETERS */     {Mul(10)},                                   Single},
        {15, /* KILOMETERS */     {Div(10)},                                   Single},
    }},
    // Block "KILOMETERS" (row 15)
    // row  unit of the row    steps                                       precision
    {"KILOMETERS", {
        { 1, /* INCHES */         {Mul(3280.8399), Mul(12)},                   Double},
        { 2, /* FEET */           {Mul(3280.8399)},                            Double},
        { 3, /* YARDS */          {Mul(1093.6133)},                            Double},
        { 4, /* FATHOM */         {Mul(546.80665)},                            Double},
        { 5, /* RODS */           {Mul(198.8388)},                             Double},
        { 6, /* FURLONG */        {Mul(0.6213), Mul(8)},                       Double},
        { 7, /* MILES */          {Mul(0.6213)},                               Double},
        { 8, /* LEAGUE */         {Mul(0.6213), Div(3)},                       Double},
        { 9, /* MILLIMETERS */    {Mul(1000000)},                              Double},
        {10, /* CENTIMETERS */    {Mul(100000)},                               Double},
        {11, /* DECIMETERS */     {Mul(10000)},                                Single},
        {12, /* METERS */         {Mul(1000)},                                 Single},
        {13, /* DEKAMETERS */     {Mul(100)},                                  Single},
        {14, /* HECTOMETERS */    {Mul(10)},                                   Single},
    }},
    }, MarkingInRowOrder(*FindCategory("LENGTH"))};
    // clang-format on
    return table;
}

}  // namespace mensura
