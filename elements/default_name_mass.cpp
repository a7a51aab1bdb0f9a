#include "mdlVeltrax.h"

namespace mdlVeltrax {

// The default element file, byte for byte: the symbol, mass and number lines
// in aligned columns, CR LF after the first two lines, and a NUL after the
// last blank of the third. That NUL is the string literal's own terminator,
// which is why the size below counts it.
namespace {
constexpr char kDefaultNameMass[] =
    " H       B      C      N       O       F  P  S      K  V    Y    I     W   U   HE LI  BE NE   NA MG   AL SI CL    "
    "AR   CA SC    TI   CR MN   FE    CO   NI   CU    ZN   GA    GE   AS      SE    BR   KR   RB   SR   ZR   NB   MO   "
    "TC   RU  RH    PD    AG    CD    IN    SN    SB     TE    XE    CS    BA    LA    CE  PR  ND  PM  SM  EU  GD  TB  "
    "DY    HO  ER  TM  YB  LU  HF    TA  RE  OS  IR  PT  AU     HG     TL  PB  BI  PO  AT  RN  FR  RA  AC  TH  PA  NP  "
    "PU  AM  CM  BK  CF  ES  FM  MD  NO  LR  RF  DB  SG  BH  HS  MT \r\n"
    " 1.00794 10.811 12.011 14.0067 15.9994 19 31 32.066 39 50.9 88.9 126.9 184 238 4  6.9 9  20.2 23 24.3 27 28 35.45 "
    "39.9 40 44.95 47.9 52 54.9 55.84 58.9 58.7 63.54 65.4 69.72 72.6 74.9216 78.96 79.9 83.8 85.5 87.6 91.2 92.9 95.9 "
    "97.9 101 102.9 106.4 107.8 112.4 114.8 118.7 121.75 127.6 131.3 132.9 137.3 138.9 140 141 144 145 150 152 157 159 "
    "162.5 165 167 169 173 175 178.5 181 186 190 192 195 196.97 200.59 204 207 209 209 210 222 223 226 227 232 231 237 "
    "244 243 247 247 251 252 257 258 259 260 261 262 263 262 265 266 \r\n"
    " 1       5      6      7       8       9  15 16     19 23   39   53    74  92  2  3   4  10   11 12   13 14 17    "
    "18   20 21    22   24 25   26    27   28   29    30   31    32   33      34    35   36   37   38   40   41   42   "
    "43   44  45    46    47    48    49    50    51     52    54    55    56    57    58  59  60  61  62  63  64  65  "
    "66    67  68  69  70  71  72    73  75  76  77  78  79     80     81  82  83  84  85  86  87  88  89  90  91  93  "
    "94  95  96  97  98  99  100 101 102 103 104 105 106 107 108 109 ";
static_assert(sizeof kDefaultNameMass == 1564);
}  // namespace

std::string_view BuiltInNameMass() { return {kDefaultNameMass, sizeof kDefaultNameMass}; }

}  // namespace mdlVeltrax
