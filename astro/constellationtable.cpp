#include "astro/constellationtable.h"

#include "astro/constants.h"
#include "astro/radectext.h"

#include <cassert>
#include <cmath>

namespace vespario {

namespace {

// The boundary rows in search order: abbreviation, then RA limit and Dec limit as a RaDec
// text (hhmm or hhmm.m, then +-dd, +-dd.d, +-ddmm or +-ddmm.m), both for 1875.0. An RA of
// "0000" marks the last strip.
//
// Checked cell by cell against Roman's published table of the same boundaries (Roman, N.G.
// 1987, PASP 99, 695; CDS catalogue VI/42), the rows as first written put parts of the sky
// into the wrong constellation; these rows are corrected here (old text -> new):
//   UMi 0330+88 -> UMi 0500+88, and the later UMi 0500+88 dropped: 3h30m-5h above +88 deg
//       was Cepheus, because Cep 0500+80 came before the second UMi row; the first row now
//       reaches 5h itself and the second could never match
//   Per 0310+55 added before Cam 0320+55: 2h43m-3h10m, +55 to +57 deg is Perseus
//   CMa 0701+0530 -> CMi 0701+0530: Canis Major named for +5.5 to +12.5 deg
//   Car 0902-63 -> Car 0902-64: 6h50m-9h02m, -63 to -64 deg is Carina, not Volans
//   UMi 2100+8610 -> UMi 2100+86: 18h-21h, +86 deg to +86 10' is Ursa Minor, not Draco
//   Tau 0542+18 -> Tau 0542+1530: 5h20m-5h36m, +15.5 to +18 deg is Taurus, not Orion
//   Gem 0749+1300 -> Gem 0748.5+1330, CMi 0749+10 -> CMi 0748.5+10: Canis Minor below
//       +13.5 deg, Cancer from 7h48.5m
//   LMi 1047+34 -> LMi 1047+3330: 9h15m-9h53m, +33.5 to +34 deg is Leo Minor, not Leo
//   TrA 1627-6330 -> TrA 1635-6335, Ara 1645-6336 -> Ara 1645-6335: Triangulum Australe
//       reaches 16h35m and -63 35'
//   Eri 0325-4534 -> Eri 0325-46; Eri 0416-3945 -> Eri 0416-40; Phe 0220-4810 for -4820;
//   Sex 1045-11 for -1050; Men 0740-85 for -8510; Ind 2320-75 for -7510; UMi 1400+70 for
//   +7020; Ser 1605+04 and Her 1645+04 for +0410; Sge 1900+1830 for +1840; And 2345+3205
//   for +32; Ari 0200+0955 and Ari 0317+0955 for +10 (declination limits 5' to 26' off)
//   Cas 0154.5+5730, Aur 0648+4430, Car 0810-53, UMi 1540+66, Oph 1622.5-1815,
//   Sco 1622.5-1915, Oph 1710-16, Her 1810.5+30, Oph 1758-10, Lyr 1921.5+30,
//   Aql 2008.5+0830, Peg 2249+3430 (right ascension limits half a minute to two minutes off)
//   Sco 1625.25-42, Nor 1625.25-60, TrA 1625.25-61 for 1625: the open clusters NGC 6167
//       and NGC 6169 are in Norma
// Differences below 2' of declination or 0.3 minute of right ascension are left as they
// were written (they are within the precision of the older boundary lists).
constexpr const char *kRowTexts[] = {
    "UMi 0500+88",     "Cep 0330+85",     "Cep 0020+66",     "Cas 0010+48",      "And 0010+46",
    "And 0004+28",     "Peg 0004+22",     "And 0008.5+22",   "Peg 0008.5+1230",  "Cep 0330.5+77",
    "Cas 0052+46",     "And 0043+21",     "Psc 0020-07",     "Cas 0107+48",      "Cas 0122+50",
    "Cas 0142+54",     "Per 0140+50",     "And 0140+47",     "And 0124.5+33",    "Psc 0051+2345",
    "And 0051+21",     "Psc 0124.5+28",   "Cas 0154.5+5730", "Cas 0226+5830",    "Per 0202.5+47",
    "And 0200+35",     "Tri 0140+28",     "Psc 0140+02",     "Cet 0140-25.5",    "Scl 0140-40",
    "Phe 0120-5830",   "Tuc 0045-75",     "Hyi 0045-76",     "Tuc 0120-76",      "Phe 0135-5330",
    "Tri 0155+25",     "Per 0226+57",     "Cas 0306+57",     "Per 0231+5030",    "And 0231+3645",
    "Tri 0225+2715",   "Ari 0200+0955",   "Psc 0200+02",     "Per 0234+3645",    "Tri 0234+34",
    "Per 0243+34",     "Tri 0243+3040",   "Cep 0500+80",     "Cas 0325+68",      "Cam 0310+57",
    "Per 0310+55",     "Cam 0320+55",     "Per 0320+5230",   "Cep 0500+85",      "Cam 0500+5230",
    "Per 0441.5+36",   "Per 0430+3040",   "Ari 0317+0955",   "Cet 0317-0145",    "Cet 0239-24.4",
    "Ari 0322+19",     "Tau 0430+30",     "Tau 0335-0145",   "Aur 0445+30",      "Tau 0445+2830",
    "Tau 0437+00",     "Eri 0345-24.4",   "For 0300-40",     "Phe 0150-5130",    "Phe 0220-4810",
    "Eri 0210-5830",   "Hyi 0210-6730",   "For 0330-3935",   "For 0345-36",      "Eri 0225-54",
    "Eri 0240-51",     "Eri 0300-49",     "Eri 0325-46",     "Hor 0312-6730",    "Eri 0352-44",
    "Hor 0330-5730",   "Hor 0350-5310",   "Eri 0416-40",     "Hor 0405-51",      "Hor 0416-49",
    "Dor 0400-5309",   "Ret 0400-5630",   "Eri 0435-37",     "Cae 0430-49",      "Dor 0420-5630",
    "Ret 0420-59",     "Dor 0430-54",     "UMi 0800+88",     "Cep 0800+85",      "Cam 0606+56",
    "Aur 0606+54",     "Aur 0553+2830",   "Tau 0553+2250",   "Tau 0458+1530",    "Ori 0440+00",
    "Eri 0440-04",     "Tau 0520+16",     "Ori 0520+1530",   "Ori 0505-04",      "Eri 0442-30",
    "Eri 0450-2715",   "Cae 0450-4630",   "Eri 0455-1430",   "Eri 0505-11",      "Tau 0542+1530",
    "Ori 0536+1230",   "Ori 0553+2130",   "Ori 0546+18",     "Tau 0546+1230",    "Cam 0700+62",
    "Lyn 0630+54",     "Aur 0630+50",     "Lyn 0649+50",     "Aur 0648+4430",    "Aur 0632+28",
    "Gem 0613+2130",   "Ori 0550-11",     "Ori 0613+1730",   "Gem 0618.5+1730",  "Ori 0618.5+10",
    "Ori 0614.5-04",   "Mon 0607-11",     "Lep 0607-2715",   "Cae 0500-43",      "Pic 0500-54",
    "Dor 0435-59",     "Ret 0435-6730",   "Hyi 0330-8230",   "Oct 0330-8510",    "Hyi 0435-75",
    "Dor 0500-5730",   "Col 0607-33",     "Lyn 0700+60",     "Cam 0758+60",      "Lyn 0722+4430",
    "Aur 0722+3530",   "Gem 0656+12",     "Mon 0656+10",     "Gem 0700+10",      "Mon 0700+0530",
    "Lyn 0745+3530",   "Gem 0745+3330",   "Gem 0730+1230",   "CMi 0701+0530",    "Mon 0701+0130",
    "CMi 0712+0130",   "Mon 0712+00",     "UMi 1130+8630",   "Cam 1040+82",      "Cam 0910+7330",
    "UMa 0825+60",     "Lyn 0825+47",     "UMa 0910+47",     "Lyn 0910+42",      "Dra 1040+80",
    "Cam 1130+80",     "Dra 1130+77",     "Dra 1120+7330",   "UMa 1010+42",      "Lyn 0935+3945",
    "Lyn 0915+3330",   "Gem 0748.5+1330", "CMi 0748.5+10",   "Gem 0753+20",      "Gem 0800+28",
    "Cnc 0755.5+10",   "CMi 0755.5+07",   "Cnc 0805+07",     "CMi 0805+00",      "Mon 0805-11",
    "CMa 0722-33",     "Col 0635-43",     "Pic 0530-5730",   "Dor 0530-61",      "Pic 0600-61",
    "Dor 0600-64",     "Pup 0800-5045",   "Car 0610-5230",   "Pic 0610-55",      "Car 0630-55",
    "Pic 0630-58",     "Car 0650-58",     "Pic 0650-64",     "Dor 0635-70",      "Men 0635-75",
    "Cnc 0915+07",     "Hya 0822-11",     "Pup 0822-43",     "Vel 0811-5045",    "Car 0810-53",
    "Hya 0835-17",     "Pyx 0835-19",     "Hya 0905-19",     "Pyx 0905-24",      "LMi 1010+40",
    "UMa 1047+40",     "LMi 1047+3330",   "Leo 0953+2830",   "LMi 1030+2830",    "Leo 1030+2330",
    "LMi 1045+2330",   "Leo 1045+07",     "Hya 0935-11",     "Sex 1045-11",      "Hya 0945-24",
    "Pyx 0922-3645",   "Vel 0827-53",     "Car 0827-5430",   "Vel 0850-5430",    "Car 0850-5630",
    "Vel 0922-3945",   "Ant 0945-2630",   "Hya 1015-2630",   "Ant 1015-2910",    "Hya 1035-2910",
    "Ant 1035-3110",   "Hya 1045-19",     "UMa 1100+34",     "UMa 1120+6630",    "UMi 1430+8630",
    "Cam 1430+80",     "Cam 1335+77",     "Dra 1200+6630",   "LMi 1100+2530",    "UMa 1200+29",
    "Leo 1152+11",     "Leo 1131-06",     "Crt 1050-19",     "Hya 1050-2430",    "Hya 1050-3110",
    "Ant 1050-35",     "Vir 1150-06",     "Crt 1150-2430",   "Hya 1100-35",      "Ant 1100-3945",
    "Vel 1100-5630",   "Car 0902-64",     "Vol 0902-75",     "Men 0740-85",      "UMa 1200+64",
    "Dra 1300+70",     "UMi 1400+70",     "Dra 1330+64",     "UMa 1330+53",      "UMa 1205+45",
    "CVn 1220+34",     "Com 1220+32",     "CVn 1315+32",     "Com 1315+2830",    "Com 1250+14",
    "Vir 1250-11",     "Crv 1235-2430",   "Hya 1215-35",     "Cen 1115-5630",    "Car 1115-75",
    "Cen 1150-64",     "Hya 1235-33",     "Crv 1250-22",     "CVn 1330+4830",    "Dra 1400+66",
    "UMi 1540+66",     "Dra 1425+63",     "UMa 1402+4830",   "CVn 1402+3045",    "CVn 1357.5+2830",
    "Com 1330+15",     "Vir 1330+08",     "UMa 1425+5530",   "Dra 1515+5530",    "Boo 1505+08",
    "Vir 1505+00",     "Vir 1415-22",     "Hya 1415-2430",   "Vir 1440-08",      "Lib 1455-2430",
    "Hya 1455-2930",   "Cen 1250-55",     "Cru 1250-64",     "Cen 1410-55",      "Cen 1455-42",
    "Lib 1505-0315",   "Boo 1511+26",     "Boo 1515+53",     "UMi 1632+6959.7",  "Dra 1545+53",
    "Boo 1526+33",     "Boo 1545+40",     "UMi 1730+75",     "Dra 1700+5130",    "Her 1700+5030",
    "Her 1620+40",     "CrB 1610+26",     "Ser 1602+22",     "Ser 1555+16",      "Her 1605+16",
    "Ser 1605+04",     "CrB 1620+27",     "Her 1645+04",     "Ser 1616-0315",    "Lib 1555-20",
    "Lib 1540-2930",   "Lup 1503-55",     "Cen 1432-64",     "Mus 1330-65",      "Cir 1342-65",
    "Mus 1340-75",     "Cha 1340-8230",   "Lup 1520-54",     "Nor 1520-55",      "Cir 1445-70",
    "Cir 1455-6730",   "Cir 1510-6337",   "Cir 1520-61",     "Lup 1540-48",      "Ser 1616-0315",
    "Oph 1616-08",     "Sco 1600-2930",   "Lup 1600-42",     "Sco 1616-2434",    "Oph 1622.5-1815",
    "Sco 1622.5-1915", "Oph 1645-2435",   "Sco 1625.25-42",  "Nor 1625.25-60",   "TrA 1625.25-61",
    "Sco 1645-30",     "UMi 1800+80",     "UMi 2100+86",     "Dra 1814+5030",    "Her 1810.5+30",
    "Her 1715+1250",   "Oph 1710-16",     "Her 1814+4730",   "Dra 1905+4730",    "Lyr 1822+30",
    "Her 1815+1420",   "Oph 1750-04",     "Oph 1815+00",     "Ser 1758-04",      "Oph 1758-10",
    "Ser 1735-1140",   "Oph 1740-1140",   "Ser 1815-16",     "Oph 1736-30",      "Sgr 1750-30",
    "Sco 1750-4530",   "Ara 1635-61",     "TrA 1635-6335",   "Ara 1645-6335",    "TrA 1645-65",
    "Ara 1650-65",     "TrA 1650-6730",   "Ara 1700-6730",   "TrA 1700-70",      "Ara 1730-6730",
    "Oph 1815+12",     "Her 1822+26",     "Lyr 1852+26",     "Her 1852+2530",    "Her 1852+12",
    "Oph 1840+0615",   "Ser 1825.5+0430", "Oph 1825.5+03",   "Ser 1835-04",      "Aql 1852+0614",
    "Ser 1852+02",     "Aql 1852-04",     "Sct 1852-16",     "Dra 1925+5530",    "Cyg 1910+4730",
    "Lyr 1910+4330",   "Cyg 1924+4330",   "Lyr 1924+3630",   "Lyr 1915.6+2530",  "Vul 1915+2105",
    "Sge 1900+1830",   "Aql 1900+1610",   "Sge 1915+1910",   "Lyr 1921.5+30",    "Dra 1946+58",
    "Cyg 1940+2730",   "Dra 2000+5930",   "Dra 2010+75",     "UMi 2300+8610",    "Dra 2100+80",
    "Cep 2040+75",     "Dra 2025+6130",   "Dra 2040+67",     "Cep 2032.25+5930", "Cep 2036+6054",
    "Cyg 2036+5450",   "UMi 2300+8610",   "Cep 2158+5450",   "Cyg 2055+29",      "Vul 1950+1910",
    "Vul 2015+2115",   "Sge 1950+1610",   "Aql 1950+1545",   "Sge 2015+1545",    "Aql 2008.5+0830",
    "Vul 2034+2030",   "Del 2018+0830",   "Aql 2000-12",     "Sgr 1910-37",      "CrA 1910-4530",
    "Ara 1800-57",     "Pav 1800-6730",   "Aps 1800-8230",   "Sgr 2000-28",      "Aql 2018+02",
    "Del 2034+1930",   "Vul 2055+28",     "Cyg 2144+28",     "Vul 2115+1930",    "Del 2103+1150",
    "Del 2050+02",     "Aql 2032-09",     "Cap 2032-15",     "Del 2052.5+06",    "Peg 2107+1150",
    "Vul 2125+2330",   "Peg 2120+1230",   "Equ 2120+02",     "Aqr 2120-15",      "Cap 2120-28",
    "Sgr 2020-4530",   "Tel 2020-57",     "Pav 2020-60",     "Mic 2120-4530",    "Ind 2120-60",
    "Pav 2120-75",     "Peg 2128+02",     "Peg 2140+0245",   "Aqr 2140+0145",    "Cyg 2154.5+4344",
    "Cyg 2152.4+36",   "Cyg 2158+44",     "Cep 2208+5245",   "Lac 2200+36",      "Peg 2200+0145",
    "Aqr 2152-09",     "Cap 2152-2530",   "Peg 2200+35",     "Cep 2219+55",      "Cep 2252+5615",
    "Lac 2250+35",     "Peg 2245+02",     "Aqr 2245-04",     "Peg 2249+3430",    "Lac 2252+3430",
    "UMi 0000+88",     "Cep 2310+5906",   "Cep 2335+63",     "Cas 2320+5230",    "And 2320+50",
    "Cas 2335+50",     "And 2330+3430",   "Peg 2330+32",     "And 2335+48",      "Cep 0000+66",
    "Cas 0000+48",     "And 2345+3205",   "Peg 2345+3120",   "And 0000+3120",    "Peg 2350+0729",
    "Psc 2350-04",     "Aqr 2350-2530",   "PsA 2300-37",     "Gru 2200-50",      "Ind 2200-6730",
    "Scl 2320-37",     "Gru 2320-40",     "Gru 2320-57",     "Tuc 2320-6730",    "Ind 2320-75",
    "Peg 0000+10",     "Psc 0000-07",     "Cet 0000-25.5",   "Scl 0000-40",      "Phe 0000-5830",
    "Tuc 0000-75",     "Oct 0000-90",
};

constexpr double kLastStripRaLimit = 3.0 * kPi; // above any right ascension

ConstellationTable::Row ParseRow(std::string_view text) {
    ConstellationTable::Row row{0.0, 0.0, text.substr(0, 3)};
    const std::string_view radec = text.substr(4);
    const bool parsed = ParseRaDec(radec, row.raLimit, row.decLimit);
    assert(parsed && "a boundary row that is not a RaDec text");
    (void)parsed;
    if (radec.substr(0, 4) == "0000")
        row.raLimit = kLastStripRaLimit;
    return row;
}

double IntoTurn(double ra) {
    ra = std::fmod(ra, kTwoPi);
    return ra < 0.0 ? ra + kTwoPi : ra;
}

} // namespace

ConstellationTable::ConstellationTable() {
    m_rows.reserve(std::size(kRowTexts));
    for (const char *text : kRowTexts)
        m_rows.push_back(ParseRow(text));
    const int count = RowCount();
    for (int hour = 0; hour < 24; ++hour) {
        int row = 0;
        while (row < count - 1 && m_rows[row].raLimit < hour * kHourToRad)
            ++row;
        m_hourIndex[hour] = row;
    }
}

int ConstellationTable::ConstellationIndex(double ra, double dec, Precession &precession) const {
    if (!std::isfinite(ra) || !std::isfinite(dec))
        return kNoConstellation;
    precession.Apply(2000.0, kConstellationEquinox, ra, dec);
    return ConstellationIndex1875(ra, dec);
}

int ConstellationTable::ConstellationIndex(double ra, double dec) const {
    return ConstellationIndex(ra, dec, m_precession);
}

int ConstellationTable::ConstellationIndex1875(double ra1875, double dec1875) const {
    if (!std::isfinite(ra1875) || !std::isfinite(dec1875))
        return kNoConstellation;
    const double ra = IntoTurn(ra1875);
    // Rows before the hour's first row end before this hour, so none of them can match.
    int hour = static_cast<int>(ra * kRadToHours);
    hour = hour < 0 ? 0 : (hour > 23 ? 23 : hour);
    const int count = RowCount();
    for (int row = m_hourIndex[hour]; row < count; ++row) {
        if (ra <= m_rows[row].raLimit && dec1875 >= m_rows[row].decLimit)
            return row;
    }
    // Only a declination below the program's -90 deg gets here: that is the pole, Octans.
    return count - 1;
}

std::string_view ConstellationTable::ConstellationAbbrev(int index) const {
    return index >= 0 && index < RowCount() ? m_rows[index].abbrev : std::string_view();
}

} // namespace vespario
