#pragma once
// The messages of the inverse analysis that are this program's own (the runtime
// messages, "Invalid numeric input" and the number-text failures, live elsewhere).

#include <string>

namespace prurez {

// The largest number of intermediate values n the combination generation accepts. The
// tables hold no text per combination and the best fit keeps no moment, so memory no
// longer bounds n in the computation; (n + 2)^5 combinations must fit their signed 32-bit
// count (n ≤ 71). What bounds it is the time and the windows: n = 24 gives 11 881 376
// combinations, whose moments at 10 test points take about a minute on two cores, and
// every table view of the windows holds about 11 bytes a row in Qt's row header (about
// 130 MB a table, three tables); n = 30 would take three minutes and 1,1 GB.
constexpr int maximumIntermediateValueCount = 24;

// The largest number of test points the count arrow sets (the up-down's maximum).
constexpr int maximumTestPointCount = 100;
inline const char* const testPointCountMessage = "Počet posuzovaných hodnot diagramu může být nejvýše 100.";

// The most points a test data file may hold. A testing machine records a bending test
// in a few hundred to a few thousand points, and reading 10 000 points with their test
// moment–curvature takes 0,02 s; but the moments of every combination grow with them:
// 10 000 points and n = 2 (10^7 moments) take 47 s on two cores and 660 MB, and more
// points would pass what a workstation can compute and hold.
constexpr int maximumTestFilePointCount = 10000;
inline const char* const testFilePointCountMessage =
    "Soubor zkoušky obsahuje více než 10 000 bodů; program jich zpracuje nejvýše 10 000.";

// A number text in the test data file that is not a number.
inline const char* const invalidNumericInputMessage = "Invalid numeric input";

inline std::string intermediateValueCountMessage()
{
    return "Počet mezihodnot parametrů musí být celé číslo od 0 do " +
           std::to_string(maximumIntermediateValueCount) + ".";
}

inline const char* const noTestPointsMessage = "Nejsou zadány žádné body zkoušky.";
inline const char* const noCombinationsMessage = "Nejsou vytvořeny žádné kombinace parametrů.";
inline const char* const pointCountMismatchMessage =
    "Počet posuzovaných hodnot neodpovídá tabulce křivostí a momentů ze zkoušky.";
inline const char* const pointCountNotWholeMessage = "Počet posuzovaných hodnot musí být celé číslo.";
inline const char* const momentTableMismatchMessage =
    "Momenty kombinací nejsou spočítány pro tyto body zkoušky a kombinace.";
inline const char* const computationCancelledMessage =
    "Výpočet momentů byl přerušen. Dosavadní výsledky zůstaly beze změny.";
inline const char* const deviationsCancelledMessage =
    "Výpočet odchylek byl přerušen. Dosavadní odchylky zůstaly beze změny.";
inline const char* const noBestFitMessage = "Žádná kombinace nemá součet odchylek menší než 10000000.";

// ---- the refinement of the best fit

inline const char* const noBestRowMessage = "Není nalezena nejvýstižnější kombinace.";
inline const char* const refinementCancelledMessage =
    "Zpřesnění bylo přerušeno. Dosavadní výsledky zůstaly beze změny.";

// A parameter (E, fct, ectm, a, b) whose range holds the fit back.
inline std::string parameterAtLimitMessage(const std::string& symbol)
{
    return "Parametr " + symbol + " leží na hranici rozsahu, rozšiřte rozsah.";
}

// b and ectm enter the moments only through the slope of the gentle branch; which of
// them the refinement fitted is said after it.
inline const char* const slopeOnlyMessage =
    "Parametry b a ectm nejsou touto zkouškou určeny samostatně: momenty závisí jen na sklonu "
    "mírně klesající větve v tahu.";
inline const char* const slopeByEctmMessage =
    " Zpřesnění ponechalo b z nejlepší kombinace a ectm dopočítalo ze sklonu.";
inline const char* const slopeByBMessage =
    " Zpřesnění ponechalo ectm na hranici rozsahu a b dopočítalo ze sklonu.";
inline const char* const gentleBranchNotReachedMessage =
    "Parametry b a ectm nejsou touto zkouškou určeny: žádný bod zkoušky nepřetváří taženou hranu "
    "za konec strmé větve změkčení.";

inline std::string noBalanceMessage(const std::string& combinationNumber, const std::string& curvature)
{
    return "Kombinace číslo " + combinationNumber + ": při křivosti " + curvature +
           " nebyla nalezena rovnováha sil v průřezu.";
}

}  // namespace prurez
