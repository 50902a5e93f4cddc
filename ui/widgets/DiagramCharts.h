#pragma once
// The charts of the section beyond the working diagram, for the windows and the PDF
// report alike: the N–M interaction diagram, and the strains and stresses across the
// depth at a row.

#include "mechanics/DepthProfile.h"
#include "mechanics/Interaction.h"

#include <QString>

class QChart;

namespace prurez {

// A chart with a title and a legend below, numbers in the locale's form.
QChart* titledChart(const QString& title);

// M [kNm] across, N [kN] upwards with compression up; the positive branch, and the
// negative one (or, for a section that bends alike both ways, the positive one
// mirrored). Replaces what the chart showed.
void drawInteraction(QChart* chart, const InteractionDiagram& diagram);

// The strain [‰] (on `strainChart`) and the stress [MPa] (on `stressChart`) across the
// depth, the depth downwards, tension positive; the neutral axis dashed; the bars as
// points on the strain chart. Replaces what the charts showed.
void drawProfile(QChart* strainChart, QChart* stressChart, const DepthProfile& profile);
// The bars' stresses and forces in a line of Czech text (empty without bars), rounded
// to 0,1 MPa and 0,1 kN.
QString barsText(const DepthProfile& profile, char decimalSeparator);
// What a profile shows, in Czech: the curvature `kappa` (its text), the neutral axis
// and the sign of tension, then the bars (barsText).
QString profileCaption(const QString& kappa, const DepthProfile& profile, char decimalSeparator);

}  // namespace prurez
