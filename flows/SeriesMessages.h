#pragma once
// The texts of a test series (prurez/Series.h): its tables' headers and its lines.

#include <array>
#include <string>

namespace prurez {

// The header of the column naming the specimen.
inline const char* const specimenHeader = "zkouška";
// The name of a specimen whose points were typed (no file names it).
inline const char* const typedPointsSpecimenName = "body zadané ručně";

inline const std::array<const char*, 5> statisticsHeaders{"veličina", "průměr", "směrodatná odchylka",
                                                          "variační součinitel", "charakteristická hodnota"};

// A specimen's failure, in a series of several.
inline std::string specimenFailureMessage(const std::string& specimen, const std::string& message)
{
    return "Zkouška „" + specimen + "“: " + message;
}

// Fewer than three specimens give no characteristic value.
inline std::string tooFewForCharacteristicMessage(int specimenCount)
{
    return "Charakteristické hodnoty se stanoví nejméně ze tří zkoušek; série má jen " +
           std::to_string(specimenCount) + (specimenCount == 1 ? " zkoušku." : " zkoušky.");
}

// What S is, and the units of the quantities.
inline const char* const quantitiesExplanation =
    "S = (1 − a − b) · fct / (ectm − εt1) je sklon mírně klesající větve pracovního diagramu v tahu [MPa]; "
    "E, fct a S v MPa, ectm v %, a a b bez jednotky. Parametry b a ectm zkouška neurčuje každý zvlášť, jen "
    "společně sklonem S: jejich statistika popisuje nalezené hodnoty, pro návrh rozhoduje S.";

// How the characteristic values are formed; `kn` as shown, numbers with `separator`.
inline std::string characteristicMethodText(const std::string& kn, int specimenCount, char separator)
{
    std::string table = "n = 3: 3,37; 4: 2,63; 5: 2,33; 6: 2,18; 8: 2,00; 10: 1,92; 20: 1,76; 30: 1,73; ∞: 1,64";
    for (char& c : table)
        if (c == ',')
            c = separator;
    std::string text = "Charakteristická hodnota Xk = průměr · (1 − kn · V) je 5% kvantil normálního rozdělení "
                       "při neznámém variačním součiniteli V; kn podle tabulky (" +
                       table + "), mezi tabelovanými n lineárně interpolován v 1/n";
    if (!kn.empty())
        text += ": pro n = " + std::to_string(specimenCount) + " je kn = " + kn;
    return text + ".";
}

}  // namespace prurez
