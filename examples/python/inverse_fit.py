"""The inverse analysis of examples/inverse.input with refinement: the best combination of
the grid, its refinement beyond the grid, and a chart of the test against both fits
(inverse_fit.png, when matplotlib is installed).

    PYTHONPATH=build/python python3 examples/python/inverse_fit.py [--output FOLDER]
"""

import argparse
import os
import sys

import numpy

import prurez

EXAMPLES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
PARAMETERS = ["E", "fcp", "fct", "ecpm", "ectm", "a", "b"]


def show_progress(done, total):
    if sys.stdout.isatty():
        sys.stdout.write(f"\r{100 * done // total:3d} %")
        sys.stdout.flush()


def main():
    arguments = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    arguments.add_argument("--output", default=".", help="the folder of the picture")
    output = arguments.parse_args().output

    path = os.path.join(EXAMPLES, "inverse.input")
    result = prurez.inverse_analysis(path, refine=True, progress=show_progress)
    print(f"\r{result.combination_count} combinations of the grid")
    print("          " + "".join(f"{name:>10}" for name in PARAMETERS) + "   summed deviation [kNm2]")
    print(f"best {result.best['combination']:5d}" + "".join(f"{result.best[n]:10.5g}" for n in PARAMETERS)
          + f"   {result.best_sum:.6g}")
    print("refined   " + "".join(f"{result.refined[n]:10.5g}" for n in PARAMETERS) + f"   {result.refined_sum:.6g}")
    for note in result.notes:
        print(note)

    # The refined values' moments: an analysis whose every range is the refined value
    # (n = 0) holds them as its first combination.
    keys = prurez.read_input(path)
    keys["test_file"] = os.path.join(EXAMPLES, keys["test_file"])
    keys["n"] = 0
    for name in ("E", "fct", "ectm", "a", "b"):
        keys[name + "_min"] = keys[name + "_max"] = result.refined[name]
    refined_moments = prurez.inverse_analysis(keys).moments[0]
    curvature, test_moments = result.test_curve
    best_moments = result.moments[result.best["combination"] - 1]
    print(f"refined moments: summed deviation {((refined_moments - test_moments) ** 2).sum():.6g} kNm2")

    try:
        import matplotlib
    except ImportError:
        print("matplotlib is not installed: no picture")
        return
    matplotlib.use("Agg")
    from matplotlib import pyplot

    def from_origin(values):
        return numpy.concatenate(([0.0], values))

    figure, axes = pyplot.subplots(figsize=(8, 5))
    axes.plot(from_origin(curvature), from_origin(test_moments), "r-o", label="zkouška")
    axes.plot(from_origin(curvature), from_origin(best_moments), "b-", label="nejvýstižnější kombinace")
    axes.plot(from_origin(curvature), from_origin(refined_moments), "g--", label="zpřesněná kombinace")
    axes.set_xlabel("Křivost [1/m]")
    axes.set_ylabel("Moment [kNm]")
    axes.set_title("Porovnání se zkouškou")
    axes.grid(True)
    axes.legend()
    picture = os.path.join(output, "inverse_fit.png")
    figure.savefig(picture, dpi=120)
    print("picture:", picture)


if __name__ == "__main__":
    main()
