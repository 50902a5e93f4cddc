#include "flows/Refusals.h"

#include "flows/InverseMessages.h"
#include "flows/SectionMessages.h"

namespace prurez {

Failure refusal(Reason reason)
{
    using namespace sectionMessages;
    switch (reason) {
    case Reason::invalidNumericInput:
        return Failure(reason, invalidNumericInputMessage);
    case Reason::noMaterial:
        return Failure(reason, noMaterial);
    case Reason::noDiagram:
        return Failure(reason, noDiagram);
    case Reason::noShape:
        return Failure(reason, noShape);
    case Reason::noTensionChoice:
        return Failure(reason, noTensionChoice);
    case Reason::curvatureStepNotPositive:
        return Failure(reason, stepNotPositive);
    case Reason::dimensionsNotPositive:
        return Failure(reason, dimensionsNotPositive);
    case Reason::modulusNotPositive:
        return Failure(reason, modulusNotPositive);
    case Reason::strengthNotPositive:
        return Failure(reason, strengthNotPositive);
    case Reason::bottomBarAreaNegative:
        return Failure(reason, bottomAreaNegative);
    case Reason::topBarAreaNegative:
        return Failure(reason, topAreaNegative);
    case Reason::interactionPointsOutOfRange:
        return Failure(reason, interactionPointsOutOfRange);
    case Reason::profilePointsOutOfRange:
        return Failure(reason, profilePointsOutOfRange);
    case Reason::curvatureNegative:
        return Failure(reason, curvatureNegative);
    case Reason::tooManyTestPoints:
        return Failure(reason, testPointCountMessage);
    case Reason::tooManyTestFilePoints:
        return Failure(reason, testFilePointCountMessage);
    case Reason::intermediateCountOutOfRange:
        return Failure(reason, intermediateValueCountMessage());
    case Reason::noTestPoints:
        return Failure(reason, noTestPointsMessage);
    case Reason::noCombinations:
        return Failure(reason, noCombinationsMessage);
    case Reason::pointCountNotWhole:
        return Failure(reason, pointCountNotWholeMessage);
    case Reason::pointCountMismatch:
        return Failure(reason, pointCountMismatchMessage);
    case Reason::momentTableMismatch:
        return Failure(reason, momentTableMismatchMessage);
    case Reason::noBestFit:
        return Failure(reason, noBestFitMessage);
    case Reason::noBestCombination:
        return Failure(reason, noBestRowMessage);
    default:
        return Failure(Reason::other, "");
    }
}

Failure noBalanceFailure(const std::string& combinationNumber, const std::string& curvature)
{
    return Failure(Reason::noBalance, noBalanceMessage(combinationNumber, curvature));
}

}  // namespace prurez
