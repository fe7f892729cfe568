#!/usr/bin/env python3
"""Prints the figures of one scripts/bench run: native benchmark medians from Google Benchmark's
JSON output, and the Windows-side figures (name=value lines) beside the baseline's, raw and as
ratios, each against its target.

    report.py NATIVE_JSON WINE_FIGURES
"""
import json
import statistics
import sys

MIB = 1024 * 1024


def native_medians(path):
    with open(path) as f:
        data = json.load(f)
    out = {}
    for b in data["benchmarks"]:
        if b.get("aggregate_name") in ("median", "stddev") or b.get("run_type") == "iteration":
            name = b.get("run_name", b["name"])
            agg = b.get("aggregate_name", "run")
            unit = {"ns": 1e-3, "us": 1.0, "ms": 1e3, "s": 1e6}[b.get("time_unit", "ns")]
            out.setdefault(name, {})[agg] = b["real_time"] * unit
            out[name]["cpu_" + agg] = b["cpu_time"] * unit
            if "runs" in b:
                out[name]["runs"] = b["runs"]
    return out, data.get("context", {})


def wine_figures(path):
    values = {}
    with open(path) as f:
        for line in f:
            line = line.strip()
            if "=" not in line:
                continue
            key, value = line.split("=", 1)
            try:
                values.setdefault(key, []).append(float(value))
            except ValueError:
                values.setdefault(key, []).append(value)
    return values


def spread(xs):
    return "median %.1f (min %.1f, max %.1f, n=%d)" % (statistics.median(xs), min(xs), max(xs), len(xs))


def verdict(ok):
    return "met" if ok else "MISSED"


def main(argv):
    native, context = native_medians(argv[1])
    wine = wine_figures(argv[2])
    print()
    print("== Summary")
    print("native: %s, %d CPUs, load average %s" % (
        context.get("host_name", "?"), context.get("num_cpus", 0),
        ", ".join("%.2f" % x for x in context.get("load_avg", []))))
    print()
    print("Native (build/bench, Release; medians and standard deviations of 5 repetitions; targets")
    print("judged on CPU time, which other work on the machine does not inflate)")
    targets = {"BM_FullApplyDiffAndEncode": 20.0, "BM_MainWindowMaskRuns": 5000.0}
    for name, agg in native.items():
        if "median" not in agg:
            continue
        line = "  %-30s CPU %9.2f us (sd %.2f)   wall %9.2f us (sd %.2f)" % (
            name, agg["cpu_median"], agg.get("cpu_stddev", 0), agg["median"], agg.get("stddev", 0))
        if name in targets:
            line += "   target <= %g us: %s" % (targets[name], verdict(agg["cpu_median"] <= targets[name]))
        print(line)

    def med(key):
        return statistics.median(wine[key]) if key in wine else float("nan")

    print()
    print("Windows program under Wine, beside the baseline (a minimal Win32 window program)")
    p, b = wine.get("program_first_paint_ms", []), wine.get("baseline_first_paint_ms", [])
    if p and b:
        ratio = statistics.median(p) / statistics.median(b)
        print("  first paint     program  %s ms" % spread(p))
        print("                  baseline %s ms" % spread(b))
        print("                  ratio %.2f x   target <= 1.5 x: %s" % (ratio, verdict(ratio <= 1.5)))
        f = wine.get("floor_first_paint_ms", [])
        if f:
            print("                  floor    %s ms" % spread(f))
            print("                  floor / baseline %.2f x: the design's own share, before any control" % (
                statistics.median(f) / statistics.median(b)))
        pm, bm = wine.get("program_mapped_ms", []), wine.get("baseline_mapped_ms", [])
        if pm and bm:
            print("                  (window mapped: program %.1f ms, baseline %.1f ms, medians)" % (
                statistics.median(pm), statistics.median(bm)))
    pp, bp = med("program_private_bytes_start"), med("baseline_private_bytes_start")
    if pp == pp and bp == bp:
        print("  private memory  program  %.2f MiB (after the idle minute %.2f MiB)" % (
            pp / MIB, med("program_private_bytes_end") / MIB))
        print("                  baseline %.2f MiB (after the idle minute %.2f MiB)" % (
            bp / MIB, med("baseline_private_bytes_end") / MIB))
        print("                  ratio %.2f x, difference %+.2f MiB   target <= baseline + 8 MiB: %s" % (
            pp / bp, (pp - bp) / MIB, verdict(pp <= bp + 8 * MIB)))
        fp = med("floor_private_bytes_start")
        if fp == fp:
            print("                  floor    %.2f MiB: baseline %+.2f MiB before any control" % (
                fp / MIB, (fp - bp) / MIB))
        print("                  (working set: program %.1f MiB, baseline %.1f MiB)" % (
            med("program_working_set_start") / MIB, med("baseline_working_set_start") / MIB))
    if "program_idle_cpu_ms" in wine and "baseline_idle_cpu_ms" in wine:
        secs = med("program_idle_seconds")
        pc, bc = med("program_idle_cpu_ms"), med("baseline_idle_cpu_ms")
        ppct, bpct = pc / (secs * 10), bc / (med("baseline_idle_seconds") * 10)
        ratio = "%.1f x" % (pc / bc) if bc > 0 else "n/a (baseline used no measurable time)"
        print("  idle CPU        program  %.0f ms over %.0f s = %.3f %% of one core" % (pc, secs, ppct))
        print("                  baseline %.0f ms over %.0f s = %.3f %% of one core" % (bc, secs, bpct))
        print("                  ratio %s   target <= 0.2 %%: %s" % (ratio, verdict(ppct <= 0.2)))
        print("                  (the session's wineserver: %.0f ms beside the program, %.0f ms beside the baseline)" % (
            med("program_idle_wineserver_cpu_ms"), med("baseline_idle_wineserver_cpu_ms")))
    if "switch_check_median_us" in wine:
        sc = med("switch_check_median_us")
        fg = wine.get("foreground", ["?"])[0]
        print("  switching check %.1f us per check (p10 %.1f, p90 %.1f; foreground %s)   target <= 500 us: %s" % (
            sc, med("switch_check_p10_us"), med("switch_check_p90_us"), fg, verdict(sc <= 500)))
        print("                  name lookups alone: by query %.1f us, by process snapshot %.1f us" % (
            med("query_name_median_us"), med("snapshot_name_median_us")))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
