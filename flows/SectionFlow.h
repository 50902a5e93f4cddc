#pragma once
// The section working diagram over the texts and choices of the section input
// window: which choices a material fixes, VÝPOČET (reading the texts in the order of
// the chosen material, the results table's header, zero and end rows, one row per
// curvature step) and the section characteristics.

#include "flows/GridTable.h"
#include "flows/LineSeries.h"
#include "mechanics/DepthProfile.h"
#include "mechanics/SectionInput.h"
#include "prurez/Section.h"

#include <optional>
#include <string>
#include <vector>

namespace prurez {

// The texts and choices of the section input window, by meaning. A choice is its
// item index, -1 when nothing is selected.
struct SectionTexts {
    int material = -1;  // 0 plain, 1 fibre, 2 reinforced concrete
    int diagram = -1;   // 0 bilinear, 1 parabolic-rectangular, 2 parabolic
    int tension = -1;   // concrete acts in tension: 0 yes, 1 no
    int shape = -1;     // 0 square, 1 rectangle

    std::string fcp;             // compressive strength [MPa]
    std::string fct;             // tensile strength [MPa]
    std::string E;               // modulus [MPa]
    std::string ecu;             // ultimate compressive strain [%]
    std::string etu;             // ultimate tensile strain [%]
    std::string ec1OrA;          // strain at peak stress [%], or the fibre coefficient a
    std::string b;               // the fibre coefficient b
    std::string fy;              // steel yield strength [MPa]
    std::string Es;              // steel modulus [MPa]
    std::string esu;             // steel ultimate strain [%]
    std::string bottomArea;      // bottom bars [mm2]
    std::string bottomDistance;  // bottom bars from the bottom edge [m]
    std::string topArea;         // top bars [mm2]
    std::string topDistance;     // top bars from the top edge [m]
    std::string width;           // edge a of a square or width b of a rectangle [m]
    std::string height;          // height h of a rectangle [m]
    std::string N;               // axial force [kN], tension positive
    std::string kappaStep;       // curvature step [1/m]
    std::string outputFile = "*.*";
    // "Přesná rovnováha sil": the neutral axis in exact equilibrium instead of the
    // scan's 1 kN window (ScanOptions::exactEquilibrium).
    bool exactEquilibrium = false;
};

// What choosing a material does to the two other choices of its page: plain concrete
// sets "concrete acts in tension" to yes and locks it; fibre concrete also sets the
// diagram to bilinear and locks it; reinforced concrete frees both and leaves them as
// they are.
struct MaterialRules {
    int diagram = -1;  // the item the diagram choice is set to, -1: left as it is
    int tension = -1;  // the item the tension choice is set to, -1: left as it is
    bool diagramFree = true;
    bool tensionFree = true;
};
MaterialRules materialRules(int material);
// Sets the choices that the texts' material fixes, as its click would.
void applyMaterialChoice(SectionTexts& texts);

// What a VÝPOČET did, also when it failed on the way.
struct SectionRunReport {
    bool ran = false;            // a material was chosen
    bool tablePrepared = false;  // the header row was written for the material's table
    // The run ended with rows to show (a limit passed, or stopped with the message
    // below): the table's row count is final; beep and show the results.
    bool showResults = false;
    // Not empty when the run stopped before a strain limit (no equilibrium, too many
    // steps, cancelled): shown to the user after the results.
    std::string stopMessage;
    // The user stopped the run; the rows computed so far are shown.
    bool cancelled = false;
    // How the run ended, when it ran, and the text of that end: the end row's text at a
    // limit ("Beton rozdrcen", …), the stop message otherwise.
    RunOutcome outcome;
    std::string endText;
    // Once the run started (the step read): its inputs and its rows as computed (table
    // row firstRow + i holds rows[i], the last one overwritten by the end row when a
    // limit was passed).
    SectionTexts texts;  // the texts it ran from
    HeldSectionInput input;
    std::vector<SectionRow> rows;
    int firstRow = 0;
    bool endRowWritten = false;  // the last row is the end row of a limit passed
};

// How VÝPOČET runs: the progress callback is told the rows computed so far (and may
// stop the run after its current step), the scans may be the plain ones.
struct SectionRunControl {
    RunOptions run;
};

// VÝPOČET: reads the texts in the order of the chosen material, prepares the results
// table, runs the analysis and writes the end row and the table's row count. A text
// that is not a number, a refused input or a floating-point fault throws Failure;
// what was written to the table before stays and `report` tells how far it got.
void runSectionAnalysis(const SectionTexts& texts, char decimalSeparator, GridTable& table, SectionRunReport& report,
                        const SectionRunControl& control = SectionRunControl());

// Whether the axial force is read from its text or left at 0 (the interaction diagram
// sets its own forces: its text is then not looked at).
enum class AxialForce { read, notRead };

// The inputs of the texts as VÝPOČET reads them (in the chosen material's order, with
// its refusals), without running: for what else is computed of the same section. No
// material chosen fails too. A text that is not a number fails naming the text of
// `texts` that holds it, so that a window can show its field.
HeldSectionInput readSectionTexts(const SectionTexts& texts, char decimalSeparator, AxialForce axialForce);

// The values of a row of the results table as the run computed them: the zero row
// (plain and reinforced concrete) is the state before any curvature, at mid-height; the
// header, the end row and rows the run did not compute have none.
std::optional<SectionRow> runRow(const SectionRunReport& report, int tableRow);
// The last row of the results table with values (0 when there is none).
int lastComputedRow(const SectionRunReport& report);
// Strains and stresses across the depth at a row of the results table (none for a row
// without values), at `points` depths and the laws' breaks.
std::optional<DepthProfile> rowProfile(const SectionRunReport& report, int tableRow, int points = 401);

// The working diagram of the results table, as the results window draws it: (κ, M) of
// rows 1 … rowCount − 2 (the end row never), and of the last row too when it is no end
// row (a run stopped before a limit), red, read from the cells' texts. A text that is
// no number fails; the points before it stay.
void fillWorkingDiagram(const GridTable& table, char decimalSeparator, LineSeries& curve);

// The results table as the results window starts it.
inline GridTable initialResultsTable() { return GridTable(13, 13); }

// Section characteristics (area and moment of inertia) for the chosen shape.
struct SectionCharacteristics {
    bool computed = false;  // false when no shape is chosen
    std::string area;       // [m2]
    std::string inertia;    // [m4]
};
SectionCharacteristics sectionCharacteristics(const SectionTexts& texts, char decimalSeparator);

}  // namespace prurez
