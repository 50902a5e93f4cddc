"""What the tests of the Python module share: the batch tool and the examples."""

import os
import subprocess

import pytest

BATCH = os.environ.get("PRUREZ_BATCH", "prurez-batch")
EXAMPLES = os.environ.get("PRUREZ_EXAMPLES", os.path.join(os.path.dirname(__file__), "..", "..", "examples"))


def batch(*arguments, cwd=None):
    """prurez-batch's exit status, standard output and standard error."""
    run = subprocess.run([BATCH, *arguments], capture_output=True, text=True, cwd=cwd)
    return run.returncode, run.stdout, run.stderr


@pytest.fixture
def examples():
    return os.path.abspath(EXAMPLES)
