"""A parametric study: the moment-curvature diagram of the reinforced concrete beam of
examples/reinforced-beam.txt for several areas of its bottom bars.

Prints the largest moment of each diagram and where the run ends, and draws the diagrams
into parametric_study.png when matplotlib is installed.

    PYTHONPATH=build/python python3 examples/python/parametric_study.py [--output FOLDER]
"""

import argparse
import os

import prurez

EXAMPLES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")


def main():
    arguments = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    arguments.add_argument("--output", default=".", help="the folder of the picture")
    output = arguments.parse_args().output

    beam = prurez.read_input(os.path.join(EXAMPLES, "reinforced-beam.txt"))
    diagrams = {}
    print("As_bottom [mm2]   M max [kNm]   end")
    for area in (500, 1000, 1500, 2000, 2500):
        beam["As_bottom"] = area
        diagram = prurez.moment_curvature(beam)
        diagrams[area] = diagram
        print(f"{area:15d} {diagram.moment.max() * 1000:13.1f}   {diagram.end_text} "
              f"at {float(diagram.table[-1][0].replace(',', '.')):.4g} 1/m")

    try:
        import matplotlib
    except ImportError:
        print("matplotlib is not installed: no picture")
        return
    matplotlib.use("Agg")
    from matplotlib import pyplot

    figure, axes = pyplot.subplots(figsize=(8, 5))
    for area, diagram in diagrams.items():
        axes.plot(diagram.curvature, diagram.moment * 1000, label=f"As = {area} mm²")
    axes.set_xlabel("Křivost [1/m]")
    axes.set_ylabel("Moment [kNm]")
    axes.set_title("Železobetonový trám 0,3 × 0,5 m, dolní výztuž")
    axes.grid(True)
    axes.legend()
    picture = os.path.join(output, "parametric_study.png")
    figure.savefig(picture, dpi=120)
    print("picture:", picture)


if __name__ == "__main__":
    main()
