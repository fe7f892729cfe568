#!/usr/bin/env python3
"""Prints the figures of one scripts/bench run: native benchmark medians from Google Benchmark's
JSON output, and the Windows-side figures (name=value lines) beside the baseline's and the
floor's, raw and as ratios, each against its target.

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

    def mib(x):
        return "%.2f MiB" % (x / MIB)

    def beside(x, base, floor):
        """x as ratios to the baseline's and the floor's figure, and as differences in MiB."""
        return "%.2f x baseline (%+.2f MiB), %.2f x floor (%+.2f MiB)" % (
            x / base, (x - base) / MIB, x / floor, (x - floor) / MIB)

    print()
    print("Windows program under Wine, beside the baseline (a minimal Win32 window program) and the")
    print("floor (what any program of this design does before its first paint)")
    p, b, f = (wine.get(k + "_first_paint_ms", []) for k in ("program", "baseline", "floor"))
    fp_floor = statistics.median(f) if f else float("nan")
    fp_base = statistics.median(b) if b else float("nan")
    if p and b and f:
        fp = statistics.median(p)
        print("  first paint     program  %s ms" % spread(p))
        print("                  baseline %s ms" % spread(b))
        print("                  floor    %s ms" % spread(f))
        print("                  %.2f x floor, %.2f x baseline   target <= 2 x floor: %s" % (
            fp / fp_floor, fp / fp_base, verdict(fp <= 2 * fp_floor)))
        print("                  (floor / baseline %.2f x: the design's own share, before any control)" % (
            fp_floor / fp_base))
        pm, bm, fm = (wine.get(k + "_mapped_ms", []) for k in ("program", "baseline", "floor"))
        if pm and bm and fm:
            print("                  (window mapped: program %.1f ms, baseline %.1f ms, floor %.1f ms, medians)" % (
                statistics.median(pm), statistics.median(bm), statistics.median(fm)))
    else:
        print("  first paint     not measured")

    print("  (showing the hidden window again: from a click on the notification icon, or from a second")
    print("  start, to the painted window)")
    for how, label in (("tray", "reopen by icon"), ("second_start", "reopen by start")):
        r = wine.get("program_reopen_%s_first_paint_ms" % how, [])
        if not r:
            print("  %-15s not measured" % label)
            continue
        rm = statistics.median(r)
        print("  %-15s program  %s ms" % (label, spread(r)))
        print("                  %.2f x floor's first paint, %.2f x baseline's   target <= 1.5 x floor: %s" % (
            rm / fp_floor, rm / fp_base, verdict(rm <= 1.5 * fp_floor)))
        mapped = wine.get("program_reopen_%s_mapped_ms" % how, [])
        if mapped:
            print("                  (window mapped: %.1f ms, median)" % statistics.median(mapped))

    base_mem, floor_mem = med("baseline_private_bytes_start"), med("floor_private_bytes_start")
    shown = med("program_private_bytes_shown")
    if shown == shown and base_mem == base_mem and floor_mem == floor_mem:
        print("  memory shown    program  %s, 5 s after the window showed painted" % mib(shown))
        print("                  baseline %s, floor %s (each 5 s after its start)" % (mib(base_mem), mib(floor_mem)))
        print("                  %s   target <= floor + 6 MiB: %s" % (
            beside(shown, base_mem, floor_mem), verdict(shown <= floor_mem + 6 * MIB)))
        print("                  (working set: program %.1f MiB, baseline %.1f MiB, floor %.1f MiB)" % (
            med("program_working_set_shown") / MIB, med("baseline_working_set_start") / MIB,
            med("floor_working_set_start") / MIB))
    else:
        print("  memory shown    not measured")
    hidden, later = med("program_private_bytes_start"), med("program_private_bytes_end")
    if hidden == hidden and later == later and base_mem == base_mem and floor_mem == floor_mem:
        worst = max(hidden, later)
        print("  memory hidden   program  %s 5 s after Cancel hid the window, %s after the idle minute" % (
            mib(hidden), mib(later)))
        print("                  %s (the larger reading)" % beside(worst, base_mem, floor_mem))
        print("                  target <= baseline + 4 MiB: %s" % verdict(worst <= base_mem + 4 * MIB))
        print("                  (baseline after the idle minute %s; working set of the program hidden %.1f MiB)" % (
            mib(med("baseline_private_bytes_end")), med("program_working_set_start") / MIB))
    else:
        print("  memory hidden   not measured")
    first, last = med("program_private_bytes_cycle_first"), med("program_private_bytes_cycle_last")
    if first == first and last == last:
        n = med("program_hide_show_cycles")
        print("  hide and show   program hidden after cycle 1 %s, after cycle %d %s: %+.2f MiB" % (
            mib(first), n, mib(last), (last - first) / MIB))
        print("                  target <= after cycle 1 + 0.5 MiB: %s" % verdict(last <= first + 0.5 * MIB))
    else:
        print("  hide and show   not measured")
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
