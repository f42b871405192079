#!/usr/bin/python3
"""Elements per second of morvelstandrik.windsea in Python against the
command line's batch rows per second on the same seeded cases, and the
xarray path on a Dask LocalCluster of one and of two worker processes.

    PYTHONPATH=build/default/python /usr/bin/python3 bench/python_windsea.py \\
        [--cases 1000000] [--program build/default/morvelstandrik]

The batch file holds the same float32 values in their shortest text; its
time includes reading and writing text, which is the command line's work.
"""

import argparse
import os
import subprocess
import tempfile
import time

import numpy as np

import morvelstandrik as ms


def cases(n, seed=1):
    rng = np.random.default_rng(seed)
    lu = lambda lo, hi: np.exp(rng.uniform(np.log(lo), np.log(hi), n))
    return [np.asarray(c, dtype=np.float32) for c in (
        lu(1, 90), lu(1, 200), lu(1, 5000), lu(1, 5000),
        rng.uniform(-5, 5, n))]


def best_of(runs, f):
    times = []
    for _ in range(runs):
        start = time.perf_counter()
        f()
        times.append(time.perf_counter() - start)
    return min(times)


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--cases", type=int, default=1_000_000)
    p.add_argument("--program", default="build/default/morvelstandrik")
    p.add_argument("--no-dask", action="store_true")
    a = p.parse_args()
    n = a.cases
    values = cases(n)

    t = best_of(3, lambda: ms.windsea(*values))
    print(f"python windsea:        {n / t:12,.0f} elements/s ({t:.2f} s)")

    with tempfile.TemporaryDirectory() as tmp:
        path = os.path.join(tmp, "cases.csv")
        with open(path, "w") as f:
            f.write("wind_kt,duration_h,fetch_km,depth_m,current_kt\n")
            text = [np.char.mod("%s", [np.format_float_positional(
                x, unique=True, trim="-") for x in c]) for c in values]
            for row in zip(*text):
                f.write(",".join(row) + "\n")
        for jobs in (1, 2):
            for fmt in ("json", "csv"):
                cmd = [a.program, "windsea", "--batch", path, "--format",
                       fmt, "--jobs", str(jobs)]
                t = best_of(2, lambda: subprocess.run(
                    cmd, stdout=subprocess.DEVNULL, check=True))
                print(f"cli batch --jobs {jobs} {fmt:4}: {n / t:12,.0f} rows/s "
                      f"({t:.2f} s)")

    if a.no_dask:
        return
    import xarray as xr
    from dask.distributed import Client, LocalCluster
    import morvelstandrik.xarray as msx

    import dask.array as da
    from dask.distributed import wait

    side = int(round(n ** 0.5))
    dims = ("y", "x")
    shape = (side, side)
    chunks = (max(1, side // 8), side)

    def inputs(run):
        # Names of their own for each run, so that no result of an earlier
        # run is found on the workers under the same key.
        return xr.Dataset({
            name: (dims, da.from_array(c[: side * side].reshape(shape),
                                       chunks=chunks, name=f"{name}-{run}"))
            for name, c in zip(msx.INPUTS, values)})

    for workers in (1, 2):
        with LocalCluster(n_workers=workers, threads_per_worker=1,
                          processes=True, dashboard_address=None,
                          host="127.0.0.1") as cluster, Client(cluster) as c:
            times = []
            for run in range(4):  # the first warms the workers up
                data = c.persist(inputs(run))  # inputs on the workers first
                wait(data)
                start = time.perf_counter()
                c.compute(msx.windsea(data)["wave_height_m"]).result()
                times.append(time.perf_counter() - start)
            t = min(times[1:])
            print(f"dask {workers} worker{'s' if workers > 1 else ' '}:         "
                  f"{side * side / t:12,.0f} elements/s ({t:.2f} s)")


if __name__ == "__main__":
    main()
