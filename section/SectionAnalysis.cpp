// The VÝPOČET frame of the section input window, the choices that a material fixes
// and the section characteristics.

#include "section/SectionAnalysis.h"

#include "common/Failure.h"
#include "common/FloatingPoint.h"
#include "common/NumberText.h"
#include "section/SectionMessages.h"

namespace prurez {

void applyMaterialChoice(SectionFields& fields)
{
    switch (fields.RadioGroup1) {
    case 0:
        fields.RadioGroup5 = 0;
        break;
    case 1:
        fields.RadioGroup5 = 0;
        fields.RadioGroup3 = 0;
        break;
    default:
        break;
    }
}

SectionOutcome runSectionAnalysis(const SectionFields& fields, char decimalSeparator, GridTable& table,
                                  const SectionRunOptions& options)
{
    const int material = fields.RadioGroup1;
    if (material < 0 || material > 2)
        return SectionOutcome();

    // The choices the laws need, before anything is read or written.
    if (material != 1 && (fields.RadioGroup3 < 0 || fields.RadioGroup3 > 2))
        throw Failure(sectionMessages::noDiagram);
    if (fields.RadioGroup2 != 0 && fields.RadioGroup2 != 1)
        throw Failure(sectionMessages::noShape);
    if (material == 2 && fields.RadioGroup5 != 0 && fields.RadioGroup5 != 1)
        throw Failure(sectionMessages::noTensionChoice);

    clearFloatingPointFaults();
    SectionOutcome outcome;
    switch (material) {
    case 0:
        outcome = plainConcreteAnalysis(fields, decimalSeparator, table, options);
        break;
    case 1:
        outcome = fibreConcreteAnalysis(fields, decimalSeparator, table, options);
        break;
    default:
        outcome = reinforcedConcreteAnalysis(fields, decimalSeparator, table, options);
        break;
    }
    outcome.ran = true;
    return outcome;
}

SectionCharacteristics sectionCharacteristics(const SectionFields& fields, char decimalSeparator)
{
    SectionCharacteristics result;
    clearFloatingPointFaults();
    long double area = 0.0L;
    long double inertia = 0.0L;
    if (fields.RadioGroup2 == 0) {
        const long double a = parseNumber(fields.Edit13, decimalSeparator);
        area = a * a;
        inertia = 1.0L / 12.0L * a * a * a * a;
    } else if (fields.RadioGroup2 == 1) {
        const long double b = parseNumber(fields.Edit13, decimalSeparator);
        const long double h = parseNumber(fields.Edit14, decimalSeparator);
        area = b * h;
        inertia = 1.0L / 12.0L * b * h * h * h;
    } else {
        return result;
    }
    checkFloatingPointFaults();
    result.computed = true;
    result.area = formatNumber(area, decimalSeparator);
    result.inertia = formatNumber(inertia, decimalSeparator);
    return result;
}

}  // namespace prurez
