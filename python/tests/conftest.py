"""Shared fixtures: a scratch folder per test and a seeded random generator."""

import numpy as np
import pytest


@pytest.fixture
def rng():
    return np.random.default_rng(20261207)
