#include "mechanics/DepthProfile.h"

#include "mechanics/Sections.h"

#include <algorithm>

namespace prurez {

namespace {

template <class Section>
void fillConcrete(const Section& section, const SectionRow& row, long double h, int points, bool breaks,
                  DepthProfile& profile)
{
    std::vector<long double> depths;
    for (int i = 0; i < points; ++i)
        depths.push_back(h * static_cast<long double>(i) / static_cast<long double>(points - 1));
    if (breaks && row.kappa > 0.0L) {
        depths.push_back(row.x);
        for (long double strain : section.strainBreaks())
            depths.push_back(row.x - strain / row.kappa);
        depths.erase(std::remove_if(depths.begin(), depths.end(), [&](long double y) { return !(y >= 0.0L && y <= h); }),
                     depths.end());
        std::sort(depths.begin(), depths.end());
        depths.erase(std::unique(depths.begin(), depths.end()), depths.end());
    }
    for (long double y : depths) {
        const long double shortening = row.kappa * (row.x - y);
        profile.depth.push_back(y);
        profile.strain.push_back(-shortening);
        profile.stress.push_back(section.concreteStress(shortening));
    }
}

}  // namespace

DepthProfile depthProfile(const HeldSectionInput& input, const SectionRow& row, int points, bool breaks)
{
    DepthProfile profile;
    profile.neutralAxis = row.x;
    const long double h = input.height;
    withSectionType(input.material, [&](auto type) {
        fillConcrete(typename decltype(type)::type(input), row, h, points, breaks, profile);
    });
    if (input.material == Material::reinforcedConcrete) {
        // The row's bars: the top layer's strain and stress are positive in compression.
        profile.bars.push_back({input.topBars.distance, -row.topBarStrain, -row.topBarStress, row.topBarForce});
        profile.bars.push_back(
            {h - input.bottomBars.distance, row.bottomBarStrain, row.bottomBarStress, row.bottomBarForce});
    }
    return profile;
}

}  // namespace prurez
