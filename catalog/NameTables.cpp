// Named bright stars and constellation label points, in the row order the label passes iterate over.
// Hand-kept data, not generated: the rows, their order and the blank row 5 are part of the chart's design.

#include "catalog/Catalog.h"

namespace dazed {

const char* const starNames[kStarNameCount] = {
    "Acamar",     "Achernar",  "Acrux",   "Adara",      "Agena",     "Alcaid",   "Pleiades",     "Aldebaran",
    "Alderamin",  "Algenib",   "Algol",   "Alhena",     "Alioth",    "Almach",   "Alnair",       "Alphard",
    "Alphecca",   "Alpheratz", "Alshain", "Altair",     "Antares",   "Arcturus", "Arneb",        "Bellatrix",
    "Betelgeuse", "Canopus",   "Capella", "Caph",       "Castor",    "Deneb",    "Denebola",     "Dubhe",
    "Elnath",     "Enif",      "Etamin",  "Fomalhaut",  "Hamal",     "Izar",     "Kochab",       "Markab",
    "Megrez",     "Menkar",    "Merak",   "Mintaka",    "Mira",      "Mirach",   "Mirfak",       "Mizar",
    "Naos",       "Nihal",     "Nunki",   "Phecda",     "Polaris",   "Pollux",   "Procyon",      "Rasalgethi",
    "Rasalhague", "Regulus",   "Rigel",   "Sadalmelik", "Saiph",     "Scheat",   "Schedar",      "Shaula",
    "Sirius",     "Spica",     "Tarazed", "Thuban",     "Unukalhai", "Vega",     "Vindemiatrix", "Zaurak",
    "Rigil",
};

const float starNamesP[kStarNameCount * kStarNameStride] = {
    // RA (h), Dec (deg), magnitude
    2.97103f,  -40.3047f, 2.91f,  // 0 Acamar
    1.62858f,  -57.2367f, 0.46f,  // 1 Achernar
    12.4433f,  -63.0992f, 0.73f,  // 2 Acrux
    6.97708f,  -28.9722f, 1.5f,   // 3 Adara
    13.9637f,  -60.3731f, 0.61f,  // 4 Agena
    13.7923f,  49.3133f,  1.86f,  // 5 Alcaid
    3.79142f,  24.105f,   2.87f,  // 6 Pleiades
    4.59867f,  16.5092f,  0.85f,  // 7 Aldebaran
    21.3097f,  62.5856f,  2.44f,  // 8 Alderamin
    0.220611f, 15.1836f,  2.83f,  // 9 Algenib
    3.13614f,  40.9556f,  2.12f,  // 10 Algol
    6.62853f,  16.3992f,  1.93f,  // 11 Alhena
    12.9005f,  55.9597f,  1.77f,  // 12 Alioth
    2.065f,    42.3297f,  2.16f,  // 13 Almach
    22.1372f,  -46.9611f, 1.74f,  // 14 Alnair
    9.45978f,  -8.6586f,  1.98f,  // 15 Alphard
    15.5781f,  26.7147f,  2.23f,  // 16 Alphecca
    0.139805f, 29.0906f,  2.06f,  // 17 Alpheratz
    19.9219f,  6.4067f,   3.71f,  // 18 Alshain
    19.8464f,  8.8683f,   0.77f,  // 19 Altair
    16.4901f,  -26.4319f, 0.96f,  // 20 Antares
    14.261f,   19.1825f,  -0.04f, // 21 Arcturus
    5.5455f,   -17.8222f, 2.58f,  // 22 Arneb
    5.41886f,  6.3497f,   1.64f,  // 23 Bellatrix
    5.91953f,  7.4069f,   0.5f,   // 24 Betelgeuse
    6.39919f,  -52.6958f, -0.72f, // 25 Canopus
    5.27817f,  45.9981f,  0.08f,  // 26 Capella
    0.152972f, 59.1497f,  2.27f,  // 27 Caph
    7.57667f,  31.8883f,  1.59f,  // 28 Castor
    20.6905f,  45.2803f,  1.25f,  // 29 Deneb
    11.8177f,  14.5719f,  2.14f,  // 30 Denebola
    11.0621f,  61.7508f,  1.79f,  // 31 Dubhe
    5.43819f,  28.6075f,  1.65f,  // 32 Elnath
    21.7364f,  9.875f,    2.39f,  // 33 Enif
    17.9434f,  51.4889f,  2.23f,  // 34 Etamin
    22.9609f,  -29.6222f, 1.16f,  // 35 Fomalhaut
    2.11956f,  23.4625f,  2.0f,   // 36 Hamal
    14.7498f,  27.0742f,  2.59f,  // 37 Izar
    14.8451f,  74.1556f,  2.08f,  // 38 Kochab
    23.0794f,  15.2053f,  2.49f,  // 39 Markab
    12.2571f,  57.0325f,  3.31f,  // 40 Megrez
    3.038f,    4.0897f,   2.53f,  // 41 Menkar
    11.0307f,  56.3825f,  2.37f,  // 42 Merak
    5.53344f,  -0.2992f,  2.21f,  // 43 Mintaka
    2.32242f,  -2.9775f,  3.04f,  // 44 Mira
    1.16219f,  35.6206f,  2.06f,  // 45 Mirach
    3.40539f,  49.8611f,  1.79f,  // 46 Mirfak
    13.3987f,  54.9253f,  2.06f,  // 47 Mizar
    8.05975f,  -40.0033f, 2.25f,  // 48 Naos
    5.47075f,  -20.7594f, 2.84f,  // 49 Nihal
    18.9211f,  -26.2967f, 2.02f,  // 50 Nunki
    11.8972f,  53.6947f,  2.44f,  // 51 Phecda
    2.53019f,  89.2642f,  2.02f,  // 52 Polaris
    7.75525f,  28.0261f,  1.14f,  // 53 Pollux
    7.65503f,  5.225f,    0.38f,  // 54 Procyon
    17.2441f,  14.3903f,  3.31f,  // 55 Rasalgethi
    17.5822f,  12.56f,    2.08f,  // 56 Rasalhague
    10.1395f,  11.9672f,  1.35f,  // 57 Regulus
    5.24231f,  -8.2017f,  0.12f,  // 58 Rigel
    22.0964f,  -0.3197f,  2.96f,  // 59 Sadalmelik
    5.79594f,  -9.6697f,  2.06f,  // 60 Saiph
    23.0629f,  28.0828f,  2.42f,  // 61 Scheat
    0.675139f, 56.5372f,  2.23f,  // 62 Schedar
    17.5601f,  -37.1039f, 1.63f,  // 63 Shaula
    6.75247f,  -16.7161f, -1.46f, // 64 Sirius
    13.4199f,  -11.1614f, 0.98f,  // 65 Spica
    19.771f,   10.6133f,  2.72f,  // 66 Tarazed
    14.0731f,  64.3758f,  3.65f,  // 67 Thuban
    15.7378f,  6.4256f,   2.65f,  // 68 Unukalhai
    18.6156f,  38.7836f,  0.03f,  // 69 Vega
    13.0363f,  10.9592f,  2.83f,  // 70 Vindemiatrix
    3.96717f,  -13.5086f, 2.95f,  // 71 Zaurak
    14.6637f,  -60.3731f, 0.61f,  // 72 Rigil
};

const char* const nameConst[kConstellationCount * 2] = {
    "And", "Andromeda",
    "Ari", "Aries",
    "Peg", "Pegasus",
    "Tri", "Triangulum",
    "Psc", "Pisces",
    "   ", "        ",
    "Cet", "Cetus",
    "Tau", "Taurus",
    "Ori", "Orion",
    "Aur", "Auriga",
    "CMi", "Canis Minor",
    "Gem", "Gemini",
    "Mon", "Monoceros",
    "Cnc", "Cancer",
    "Leo", "Leo",
    "Hya", "Hydra",
    "Sex", "Sextans",
    "Vir", "Virgo",
    "LMi", "Leo Minor",
    "Boo", "Bootes",
    "Com", "Coma Berenices",
    "CrB", "Corona Borealis",
    "Ser", "Serpens",
    "Oph", "Ophiuchus",
    "Her", "Hercules",
    "Aql", "Aquila",
    "Cyg", "Cygnus",
    "Sge", "Sagitta",
    "Vul", "Vulpecula",
    "Del", "Delphinus",
    "Equ", "Equuleus",
    "Aqr", "Aquarius",
    "Cas", "Cassiopeia",
    "Per", "Perseus",
    "Cam", "Camelopardalis",
    "Lyn", "Lynx",
    "UMa", "Ursa Major",
    "CVn", "Canes Venatici",
    "Dra", "Draco",
    "Lyr", "Lyra",
    "Cep", "Cepheus",
    "Lac", "Lacerta",
    "UMi", "Ursa Minor",
    "Scl", "Sculptor",
    "Eri", "Eridanus",
    "For", "Fornax",
    "Lep", "Lepus",
    "Col", "Columba",
    "CMa", "Canis Major",
    "Pup", "Puppis",
    "Pyx", "Pyxis",
    "Ant", "Antlia",
    "Crt", "Crater",
    "Crv", "Corvus",
    "Lib", "Libra",
    "Sco", "Scorpius",
    "Sgr", "Sagittarius",
    "Sct", "Scutum",
    "Cap", "Capricornus",
    "PsA", "Piscis Austrinus",
    "Phe", "Phoenix",
    "Hor", "Horologium",
    "Dor", "Dorado",
    "Ret", "Reticulum",
    "Cae", "Caelum",
    "Pic", "Pictor",
    "Car", "Carina",
    "Vel", "Vela",
    "Cru", "Crux",
    "Cen", "Centaurus",
    "Lup", "Lupus",
    "Cir", "Circinus",
    "Ara", "Ara",
    "Tel", "Telescopium",
    "Nor", "Norma",
    "CrA", "Corona Australis",
    "Pav", "Pavo",
    "Ind", "Indus",
    "Mic", "Microscopium",
    "Gru", "Grus",
    "Tuc", "Tucana",
    "Hyi", "Hydrus",
    "Oct", "Octans",
    "Men", "Mensa",
    "Mus", "Musca",
    "Vol", "Volans",
    "Cha", "Chamaeleon",
    "TrA", "Triangulum Australe",
    "Aps", "Apus",
};

const float posMoyLines[kConstellationCount * kConstellationStride] = {
    // label RA (h), label Dec (deg), constellation number
    0.56395f,   35.20625f,  0.0f,  // 0 And
    2.10587f,   19.37805f,  1.0f,  // 1 Ari
    22.97851f,  18.20959f,  2.0f,  // 2 Peg
    2.08664f,   34.28305f,  3.0f,  // 3 Tri
    1.54935f,   10.67263f,  4.0f,  // 4 Psc
    0.0f,       0.0f,       5.0f,  // 5 (blank)
    1.6809f,    -5.4818f,   5.0f,  // 6 Cet
    5.16263f,   22.42f,     6.0f,  // 7 Tau
    5.88092f,   3.13139f,   7.0f,  // 8 Ori
    5.47262f,   37.3028f,   8.0f,  // 9 Aur
    7.55377f,   9.75722f,   9.0f,  // 10 CMi
    7.0016f,    24.14375f,  10.0f, // 11 Gem
    6.96751f,   -5.02194f,  11.0f, // 12 Mon
    8.62502f,   18.97278f,  12.0f, // 13 Cnc
    10.79095f,  18.98705f,  13.0f, // 14 Leo
    10.32735f,  -20.90875f, 14.0f, // 15 Hya
    10.19f,     -4.23834f,  15.0f, // 16 Sex
    12.67125f,  -0.1011f,   16.0f, // 17 Vir
    10.6766f,   35.4611f,   17.0f, // 18 LMi
    14.5849f,   29.3942f,   18.0f, // 19 Boo
    12.82345f,  22.89885f,  19.0f, // 20 Com
    15.7118f,   28.71375f,  20.0f, // 21 CrB
    17.2585f,   1.2085f,    21.0f, // 22 Ser
    16.94915f,  -5.30455f,  22.0f, // 23 Oph
    17.22735f,  29.43665f,  23.0f, // 24 Her
    19.6393f,   4.4904f,    24.0f, // 25 Aql
    20.25035f,  40.66415f,  25.0f, // 26 Cyg
    19.8238f,   18.48415f,  26.0f, // 27 Sge
    19.76655f,  24.60225f,  27.0f, // 28 Vul
    20.6656f,   16.71375f,  28.0f, // 29 Del
    21.21805f,  10.68974f,  29.0f, // 30 Equ
    21.976f,    -10.59625f, 30.0f, // 31 Aqr
    1.02978f,   60.1036f,   31.0f, // 32 Cas
    3.52208f,   42.695f,    32.0f, // 33 Per
    4.9789f,    63.3925f,   33.0f, // 34 Cam
    9.18079f,   38.08765f,  34.0f, // 35 Lyn
    13.1115f,   52.53205f,  35.0f, // 36 UMa
    12.7481f,   39.8379f,   36.0f, // 37 CVn
    15.66315f,  62.11085f,  37.0f, // 38 Dra
    18.799f,    29.7365f,   38.0f, // 39 Lyr
    22.2053f,   67.9168f,   39.0f, // 40 Cep
    22.43595f,  49.38295f,  40.0f, // 41 Lac
    16.68764f,  84.54905f,  41.0f, // 42 UMi
    0.14524f,   -32.9743f,  42.0f, // 43 Scl
    4.3797f,    -30.24571f, 43.0f, // 44 Eri
    3.00968f,   -30.69635f, 44.0f, // 45 For
    5.91555f,   -18.30805f, 45.0f, // 46 Lep
    5.94438f,   -34.60235f, 46.0f, // 47 Col
    6.87007f,   -23.3897f,  47.0f, // 48 CMa
    7.37754f,   -36.74735f, 48.0f, // 49 Pup
    8.75529f,   -31.50915f, 49.0f, // 50 Pyx
    10.21636f,  -34.1028f,  50.0f, // 51 Ant
    11.504666f, -14.14335f, 51.0f, // 52 Crt
    12.3709f,   -19.95615f, 52.0f, // 53 Crv
    15.22005f,  -17.33248f, 53.0f, // 54 Lib
    16.887f,    -31.5224f,  54.0f, // 55 Sco
    18.62975f,  -28.89265f, 55.0f, // 56 Sgr
    18.6865f,   -5.49598f,  56.0f, // 57 Sct
    21.03905f,  -19.71375f, 57.0f, // 58 Cap
    22.355f,    -30.0347f,  58.0f, // 59 PsA
    0.97946f,   -45.68945f, 59.0f, // 60 Phe
    3.4284f,    -53.1829f,  60.0f, // 61 Hor
    4.91376f,   -56.9882f,  61.0f, // 62 Dor
    4.00568f,   -62.0544f,  62.0f, // 63 Ret
    4.79368f,   -40.2186f,  63.0f, // 64 Cae
    6.29562f,   -56.5039f,  64.0f, // 65 Pic
    8.55754f,   -61.36695f, 65.0f, // 66 Car
    8.76373f,   -49.22165f, 66.0f, // 67 Vel
    12.52385f,  -60.10625f, 67.0f, // 68 Cru
    13.56265f,  -48.60265f, 68.0f, // 69 Cen
    15.3504f,   -44.1803f,  69.0f, // 70 Lup
    15.549f,    -57.8882f,  70.0f, // 71 Cir
    17.18025f,  -55.28f,    71.0f, // 72 Ara
    18.46505f,  -47.51955f, 72.0f, // 73 Tel
    16.3919f,   -48.8553f,  73.0f, // 74 Nor
    19.0729f,   -39.5793f,  74.0f, // 75 CrA
    19.33785f,  -64.8228f,  75.0f, // 76 Pav
    20.7698f,   -52.8728f,  76.0f, // 77 Ind
    21.07705f,  -38.08055f, 77.0f, // 78 Mic
    22.354f,    -44.34095f, 78.0f, // 79 Gru
    23.41707f,  -60.59695f, 79.0f, // 80 Tuc
    2.10825f,   -69.41195f, 80.0f, // 81 Hyi
    18.6081f,   -80.5289f,  81.0f, // 82 Oct
    5.54523f,   -73.82775f, 82.0f, // 83 Men
    12.39895f,  -69.43085f, 83.0f, // 84 Mus
    8.09329f,   -69.3715f,  84.0f, // 85 Vol
    9.53159f,   -78.6947f,  85.0f, // 86 Cha
    16.06315f,  -66.2292f,  86.0f, // 87 TrA
    15.7578f,   -78.2811f,  87.0f, // 88 Aps
};

} // namespace dazed
