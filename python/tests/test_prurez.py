"""The Python module against prurez-batch, and how it behaves as a Python user expects."""

import ctypes
import os
import signal
import threading
import time

import numpy
import pytest

import prurez
from conftest import batch

SECTIONS = ["plain-bilinear.txt", "plain-parabolic.txt", "fibre-beam.txt", "reinforced-beam.txt"]


@pytest.mark.parametrize("name", SECTIONS)
def test_the_table_is_the_batch_tools_and_the_arrays_its_values(examples, name):
    path = os.path.join(examples, name)
    status, out, err = batch("section", path)
    assert status == 0, err
    diagram = prurez.moment_curvature(path)
    assert diagram.table == [line.split("\t") for line in out.splitlines()]
    # The rows with values: their curvature and moment cells are the arrays' values.
    shown = diagram.table[1:-1]
    assert len(diagram.curvature) == len(diagram.moment) == len(diagram.neutral_axis) == len(shown)
    for row, kappa, moment in zip(shown, diagram.curvature, diagram.moment):
        assert float(row[0].replace(",", ".")) == pytest.approx(kappa, rel=1e-14, abs=0)
        assert float(row[1].replace(",", ".")) == pytest.approx(moment, rel=1e-14, abs=0)
    assert diagram.end in ("crushed", "torn", "steel_torn")
    assert diagram.end_text in diagram.table[-1]
    # The same input as a dict of its keys, numbers as Python writes them.
    keys = prurez.read_input(path)
    numbers = {key: int(value) if key in ("material", "diagram", "tension", "shape") else float(value)
               for key, value in keys.items()}
    assert prurez.moment_curvature(numbers, decimal=",").table == diagram.table


def test_best_and_refined_are_the_batch_tools(examples):
    path = os.path.join(examples, "inverse.input")
    status, out, err = batch("inverse", path, "--refine", "--blocks", "best,refined")
    assert status == 0, err
    lines = out.splitlines()
    best = lines[lines.index("# best") + 1].split("\t")
    refined = lines[lines.index("# refined") + 1].split("\t")
    sums = lines[lines.index("# refined") + 2].split("\t")
    notes = lines[lines.index("# refined") + 3:]

    def number(text):
        return float(text.replace(",", "."))

    result = prurez.inverse_analysis(path, refine=True)
    names = ["E", "fcp", "fct", "ecpm", "ectm", "a", "b"]
    assert result.best == dict(combination=int(best[0]), **{n: number(t) for n, t in zip(names, best[1:])})
    assert result.refined == {n: number(t) for n, t in zip(names, refined)}
    assert (result.best_sum, result.refined_sum) == (number(sums[0]), number(sums[1]))
    assert result.notes == notes
    assert result.combination_count == 243
    assert result.moments.shape == (243, 10)
    # The best combination's row of moments fits the test with its sum.
    test_moments = result.test_curve[1]
    deviations = (result.moments[result.best["combination"] - 1] - test_moments) ** 2
    assert deviations.sum() == pytest.approx(result.best_sum, rel=1e-12)
    assert prurez.inverse_analysis(path).refined is None


def test_a_failure_says_what_the_batch_tool_says(examples, tmp_path):
    text = open(os.path.join(examples, "reinforced-beam.txt"), encoding="utf-8").read()
    broken = tmp_path / "broken.txt"
    broken.write_text(text.replace("width = 0,3", "width = 0"), encoding="utf-8")
    status, out, err = batch("section", str(broken))
    assert (status, out) == (1, "")
    with pytest.raises(prurez.Error) as failure:
        prurez.moment_curvature(broken)
    assert str(failure.value) + "\n" == err
    with pytest.raises(ValueError, match="unknown key 'widht'"):
        prurez.moment_curvature({"material": 0, "widht": 0.3})
    with pytest.raises(TypeError):
        prurez.moment_curvature({"material": 0, "width": [object()]})
    with pytest.raises(ValueError):
        prurez.inverse_analysis(os.path.join(examples, "inverse.input"), threads=0)


def test_a_stale_flag_or_another_rounding_of_the_caller_changes_nothing(examples):
    path = os.path.join(examples, "reinforced-beam.txt")
    before = prurez.moment_curvature(path).table
    libm = ctypes.CDLL(None)
    fe_invalid, fe_upward, fe_tonearest = 0x01, 0x800, 0
    float("inf") - float("inf")  # leaves the invalid-operation flag raised
    assert libm.fetestexcept(fe_invalid) == fe_invalid
    libm.fesetround(fe_upward)
    try:
        assert prurez.moment_curvature(path).table == before
        assert libm.fegetround() == fe_upward
        assert libm.fetestexcept(fe_invalid) == fe_invalid
    finally:
        libm.fesetround(fe_tonearest)
        libm.feclearexcept(0x3D)


def test_ctrl_c_stops_a_long_inverse_analysis_within_a_second(examples):
    keys = prurez.read_input(os.path.join(examples, "inverse.input"))
    keys["test_file"] = os.path.join(examples, keys["test_file"])
    keys["n"] = "10"  # a quarter of a million combinations: seconds of work
    pressed = threading.Timer(0.5, lambda: os.kill(os.getpid(), signal.SIGINT))
    start = time.monotonic()
    pressed.start()
    with pytest.raises(KeyboardInterrupt):
        prurez.inverse_analysis(keys, threads=2)
    assert time.monotonic() - start < 1.5


def test_other_python_threads_run_while_the_moments_are_computed(examples):
    keys = prurez.read_input(os.path.join(examples, "inverse.input"))
    keys["test_file"] = os.path.join(examples, keys["test_file"])
    keys["n"] = "4"
    result = prurez.inverse_analysis(keys)
    ticks = []
    stop = threading.Event()

    def tick():
        while not stop.is_set():
            ticks.append(time.monotonic())
            time.sleep(0.001)

    ticker = threading.Thread(target=tick)
    ticker.start()
    start = time.monotonic()
    moments = result.moments
    end = time.monotonic()
    stop.set()
    ticker.join()
    assert moments.shape == (7776, 10)
    # Ticks well inside the read, not only where the reader let the interpreter go.
    quarter = (end - start) / 4
    assert any(start + quarter < t < end - quarter for t in ticks)


def test_every_thread_count_gives_the_same_result_and_tells_its_progress_here(examples):
    path = os.path.join(examples, "synthetic", "synthetic.input")
    one = prurez.inverse_analysis(path, threads=1, refine=True)
    caller = threading.get_ident()
    for threads in (2, 3):
        calls = []
        many = prurez.inverse_analysis(path, threads=threads, refine=True,
                                       progress=lambda *told: calls.append((*told, threading.get_ident())))
        assert numpy.array_equal(many.moments, one.moments)
        assert (many.best, many.best_sum, many.refined, many.notes) == (one.best, one.best_sum, one.refined,
                                                                           one.notes)
        assert calls and all(thread == caller for _, _, thread in calls)
        assert calls[-1][0] == calls[-1][1] and all(0 < done <= total for done, total, _ in calls)


def test_exact_equilibrium_and_the_interaction_diagram_are_the_batch_tools(examples):
    path = os.path.join(examples, "reinforced-beam.txt")
    status, out, err = batch("section", path, "--exact-equilibrium")
    assert status == 0, err
    assert prurez.moment_curvature(path, exact_equilibrium=True).table == [l.split("\t") for l in out.splitlines()]

    status, out, err = batch("interaction", path, "--points", "9")
    assert status == 0, err
    diagram = prurez.interaction(path, points=9)
    assert diagram.table == [line.split("\t") for line in out.splitlines()]
    lines = out.splitlines()
    negative = lines.index("# negative bending")
    for branch, rows in ((diagram.positive, lines[1:negative]), (diagram.negative, lines[negative + 1:])):
        cells = [row.split("\t") for row in rows]
        assert list(branch.N) == pytest.approx([float(c[0].replace(",", ".")) for c in cells], rel=1e-14)
        assert list(branch.M) == pytest.approx([float(c[1].replace(",", ".")) for c in cells], rel=1e-14)
        assert branch.end == [c[3] for c in cells]
    assert list(diagram.N) == list(diagram.positive.N)
    # A section without bars bends alike both ways.
    assert prurez.interaction(os.path.join(examples, "plain-bilinear.txt"), points=3).negative is None
    with pytest.raises(ValueError):
        prurez.interaction(path, points=1)


def test_the_profile_integrates_back_to_the_rows_forces(examples):
    path = os.path.join(examples, "plain-bilinear.txt")
    diagram = prurez.moment_curvature(path)
    width = 0.30000001192092896  # the section's width as it holds it (single precision)
    for row in (5, len(diagram.curvature) // 2, -1):
        depth, strain, stress = diagram.profile(row, points=20001)
        cells = diagram.table[row + 1 if row >= 0 else len(diagram.curvature)]
        tension, compression = (float(c.replace(",", ".")) for c in cells[7:9])
        above = depth <= diagram.neutral_axis[row]
        force = numpy.trapz(stress[above], depth[above]) * width
        assert force == pytest.approx(compression, rel=1e-4)
        force = numpy.trapz(stress[~above], depth[~above]) * width
        assert force == pytest.approx(tension, rel=1e-4)
        # The strain is straight and zero at the neutral axis.
        assert numpy.interp(diagram.neutral_axis[row], depth, strain) == pytest.approx(0, abs=1e-12)
    with pytest.raises(IndexError):
        diagram.profile(len(diagram.curvature))


def test_a_series_is_the_batch_tools_from_a_file_and_from_a_dict(examples):
    folder = os.path.join(examples, "series")
    path = os.path.join(folder, "series.input")
    status, out, err = batch("series", path)
    assert status == 0, err
    blocks, block = {}, None
    for line in out.splitlines():
        if line.startswith("# "):
            block = blocks.setdefault(line[2:], [])
        else:
            block.append(line)

    def number(text):
        return float(text.replace(",", ".")) if text else None

    told = []
    result = prurez.series(path, threads=2, progress=lambda *progress: told.append(progress))
    assert told[-1][0] == told[-1][1] and [done for done, _ in told] == sorted(done for done, _ in told)
    for name in ("specimens", "refined", "statistics"):
        first = 0 if name == "statistics" else 1
        assert result.tables[name][first:] == [line.split("\t") for line in blocks[name]], name
    assert result.tables["joint"][1:] == [blocks["joint"][0].split("\t")]
    assert result.joint["notes"] == blocks["joint"][1:]
    names = ["E", "fcp", "fct", "ecpm", "ectm", "a", "b"]
    for specimen, best, refined in zip(result.specimens, blocks["specimens"], blocks["refined"]):
        best, refined = best.split("\t"), refined.split("\t")
        assert specimen["name"] == best[0] == refined[0]
        assert specimen["best"] == dict(combination=int(best[1]), **{n: number(t) for n, t in zip(names, best[2:9])})
        assert (specimen["best_sum"], specimen["refined_sum"]) == (number(best[9]), number(refined[8]))
        assert specimen["refined"] == {n: number(t) for n, t in zip(names, refined[1:8])}
        assert len(specimen["test_curve"][0]) == 12
    assert result.joint["refined"] == {n: number(t) for n, t in zip(names, blocks["joint"][0].split("\t"))}
    for line in blocks["statistics"][1:]:
        cells = line.split("\t")
        assert list(result.statistics[cells[0]].values()) == [number(text) for text in cells[1:]]
    assert result.kn == 2.33

    # The same series as a dict, its files a list of paths.
    keys = prurez.read_input(path)
    keys["test_file"] = [os.path.join(folder, name) for name in keys["test_file"]]
    again = prurez.series(keys)
    assert again.statistics == result.statistics
    assert again.specimens[4]["name"] == keys["test_file"][4]

    # Two specimens: no characteristic values, and why.
    keys["test_file"] = keys["test_file"][:2]
    two = prurez.series(keys)
    assert two.kn is None and two.statistics["E"]["characteristic"] is None
    assert two.notes[-1] == "Charakteristické hodnoty se stanoví nejméně ze tří zkoušek; série má jen 2 zkoušky."
    keys["test_file"][1] = os.path.join(folder, "missing.txt")
    with pytest.raises(prurez.Error, match="^Zkouška „.*missing.txt“: File not found$"):
        prurez.series(keys)
