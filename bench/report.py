#!/usr/bin/env python3
"""Turns the benchmark's rows (rows-*.tsv, one run a row) into the table (bench.txt) and
the plot (bench.png, drawn with gnuplot) in the results folder.

  report.py <results> --exe Varnholt.exe --machine TEXT --load TEXT --revision TEXT --runs N
"""
import argparse
import glob
import os
import statistics
import subprocess
from collections import defaultdict


def median(values):
    return statistics.median(values) if values else float("nan")


def quartiles(values):
    if len(values) < 4:
        return min(values), max(values)
    q = statistics.quantiles(values, n=4)
    return q[0], q[2]


def read_rows(folder):
    rows = defaultdict(list)
    for path in sorted(glob.glob(os.path.join(folder, "rows-*.tsv"))):
        with open(path, encoding="utf-8") as f:
            for line in f:
                fields = line.rstrip("\n").split("\t")
                if fields and fields[0]:
                    rows[fields[0]].append(fields[1:])
    return rows


def load_time_imports(exe):
    out = subprocess.run(["i686-w64-mingw32-objdump", "-p", exe], capture_output=True, text=True).stdout
    return sorted({line.split(":", 1)[1].strip().lower() for line in out.splitlines()
                   if line.strip().startswith("DLL Name:")})


def verdict(ok):
    return "met" if ok else "MISSED"


def startup_table(rows, lines, plot):
    by_command = defaultdict(list)
    order = []
    for name, _run, client, floor, empty, own in rows.get("startup", []):
        if name not in by_command:
            order.append(name)
        by_command[name].append((float(client), float(floor), float(empty), float(own)))
    if not order:
        return
    lines.append("Start-up: wall time of a run started as a page starts it, against the floor program")
    lines.append("(GetForegroundWindow and exit), against the command's own floor (the same start")
    lines.append("and the registry reads of every start, plus the system calls that command must make:")
    lines.append("the pointer and window lookups of /stop /exit /jump, the keyboard layouts of /keyb,")
    lines.append("the WMI connection of /title, ShellExecuteEx for /run, the file calls of /bmadd and")
    lines.append("/bmdel, the message box of an unknown switch; each loading only the DLLs its command")
    lines.append("loads) and an empty program, all started the same way, run by run. Medians in ms;")
    lines.append("a ratio is the median of the run-by-run ratios [quartiles]; the target holds for")
    lines.append("client/own floor. A floor whose median is more than 5 % slower than its command's")
    lines.append("does more than the command: it is marked \"not a floor\" and gives no verdict.")
    lines.append("")
    lines.append(f"{'command':<16}{'client':>8}{'floor':>8}{'own':>8}{'empty':>8}{'c/floor':>9}"
                 f"{'c/own':>7}{'  quartiles':<13}{'target':>7}  verdict")
    for i, name in enumerate(order):
        runs = by_command[name]
        to_floor = [c / f for c, f, _, _ in runs]
        to_own = [c / o for c, _, _, o in runs]
        q1, q3 = quartiles(to_own)
        target = 1.10
        r = median(to_own)
        own_median = median([o for _, _, _, o in runs])
        client_median = median([c for c, _, _, _ in runs])
        judged = "not a floor" if own_median > 1.05 * client_median else verdict(r <= target)
        lines.append(f"{name:<16}{median([c for c, _, _, _ in runs]):>8.1f}"
                     f"{median([f for _, f, _, _ in runs]):>8.1f}"
                     f"{median([o for _, _, _, o in runs]):>8.1f}"
                     f"{median([e for _, _, e, _ in runs]):>8.1f}"
                     f"{median(to_floor):>9.2f}{r:>7.2f}  {q1:.2f}-{q3:.2f}  {target:>7.2f}  "
                     f"{judged}")
        plot.append(f"{i} \"{name}\" {r:.4f} {q1:.4f} {q3:.4f} {target}")
    lines.append("")


def find_table(rows, lines):
    runs = rows.get("find", [])
    if not runs:
        return
    wall = [float(r[1]) for r in runs]
    cpu = [float(r[2]) for r in runs]
    floor_cpu = [float(r[4]) for r in runs]
    extra = [(c - f) / w * 100 for c, f, w in zip(cpu, floor_cpu, wall)]
    share = median(extra)
    lines.append("/find giving up (no search dialog): processor time against wall time, medians")
    lines.append(f"  wall {median(wall):.0f} ms; processor {median(cpu):.0f} ms (floor program "
                 f"{median(floor_cpu):.0f} ms); beyond the floor: {share:.2f} % of the wall time "
                 f"(target <= 2 %: {verdict(share <= 2)})")
    lines.append("  (Wine counts processor time by the scheduler's 10 ms ticks)")
    lines.append("")


def favorites_table(rows, lines, plot):
    data = defaultdict(lambda: defaultdict(list))
    sizes = {}
    for where, entries, size, _run, rewrite, copy in rows.get("favorites", []):
        data[where][int(entries)].append((float(rewrite), float(copy)))
        sizes[int(entries)] = int(size)
    if not data:
        return
    lines.append("Favorites rewrite (/bmadd replacing the middle entry of one section), ms per run,")
    lines.append("against copying the same file (read and write every byte once), medians")
    lines.append("")
    lines.append(f"{'':<8}{'entries':>9}{'bytes':>10}{'rewrite':>10}{'copy':>9}{'x copy':>8}"
                 f"{'x 10k':>8}  target")
    for where in ("native", "wine"):
        if where not in data:
            continue
        base = median([r for r, _ in data[where].get(10000, [])])
        for entries in sorted(data[where]):
            runs = data[where][entries]
            rewrite = median([r for r, _ in runs])
            copy = median([c for _, c in runs])
            times_copy = rewrite / copy if copy else float("nan")
            growth = rewrite / base if base else float("nan")
            target = ""
            if entries == 10000:
                target = f"x copy <= 3: {verdict(times_copy <= 3)}"
            elif entries == 100000:
                target = f"x 10k <= 12: {verdict(growth <= 12)}"
            lines.append(f"{where:<8}{entries:>9}{sizes[entries]:>10}{rewrite:>10.2f}{copy:>9.2f}"
                         f"{times_copy:>8.2f}{growth:>8.2f}  {target}")
            plot.append(f"{where} {entries} {rewrite:.4f} {copy:.4f}")
    lines.append("")


def loads_table(rows, lines, exe):
    size = os.path.getsize(exe)
    lines.append(f"Varnholt.exe: {size} bytes = {size / 1024:.0f} KiB (target <= 512 KiB: "
                 f"{verdict(size <= 512 * 1024)})")
    lines.append(f"  imports at load: {' '.join(load_time_imports(exe))}")
    at_load = {r[0]: r[1].split() for r in rows.get("atload", [])}
    client = at_load.get("Varnholt.exe", [])
    floor = set(d.lower() for d in at_load.get("FloorProgram.exe", []))
    extra = [d for d in client if d.lower() not in floor]
    if client:
        lines.append(f"  DLLs mapped at load beyond the floor program's: {' '.join(extra) or 'none'}")
    loads = rows.get("loads", [])
    peak = {r[0]: int(r[1]) for r in loads}
    if "/pane 1" in peak and "FloorProgram" in peak:
        above = (peak["/pane 1"] - peak["FloorProgram"]) / 1024
        lines.append(f"  peak working set: /pane 1 {peak['/pane 1'] / 1024:.0f} KiB, floor program "
                     f"{peak['FloorProgram'] / 1024:.0f} KiB, empty program "
                     f"{peak.get('EmptyProgram', 0) / 1024:.0f} KiB: {above:+.0f} KiB above the floor "
                     f"(target <= 1024 KiB: {verdict(above <= 1024)})")
    if loads:
        lines.append("  DLLs each command loads after start-up (peak working set):")
        for name, bytes_, *later in loads:
            if name in ("FloorProgram", "EmptyProgram"):
                continue
            dlls = later[0] if later and later[0] else "none"
            lines.append(f"    {name:<16}{int(bytes_) / 1024:>7.0f} KiB  {dlls}")
    lines.append("")


def about_table(rows, lines, plot):
    data = defaultdict(list)
    for mode, _run, client, window in rows.get("about", []):
        data[mode].append((float(client), float(window)))
    if not data:
        return
    lines.append("About window: start to visible, against an empty window program, medians in ms")
    limits = {"normal": ("answering site", 300), "silent": ("silent site", 10000 + 300)}
    for mode in ("normal", "silent"):
        if mode not in data:
            continue
        label, limit = limits[mode]
        client = median([c for c, _ in data[mode]])
        window = median([w for _, w in data[mode]])
        lines.append(f"  {label:<16} client {client:>8.0f}  empty window {window:>6.0f}  "
                     f"difference {client - window:>7.0f}  (target <= {limit}: "
                     f"{verdict(client - window <= limit)})")
        plot.append(f"\"{label}\" {client:.1f} {window:.1f}")
    lines.append("")


def draw(folder, startup, favorites):
    with open(os.path.join(folder, "startup.dat"), "w") as f:
        f.write("\n".join(startup) + "\n")
    for where in ("native", "wine"):
        with open(os.path.join(folder, f"favorites-{where}.dat"), "w") as f:
            f.write("\n".join(" ".join(l.split()[1:]) for l in favorites if l.startswith(where)) + "\n")
    script = f"""
set terminal pngcairo size 1200,520 font ",10"
set output "{folder}/bench.png"
set multiplot layout 1,2
set title "Start-up: client / its own floor (median, quartiles)"
set style fill solid 0.5
set boxwidth 0.6
set yrange [0:*]
set xtics rotate by -45
set key top left
plot "{folder}/startup.dat" using 1:3:xtic(2) with boxes title "median ratio", \\
     "" using 1:3:4:5 with yerrorbars pt 0 lc rgb "black" title "quartiles", \\
     "" using ($1-0.4):6:(0.8):(0) with vectors nohead dt 2 lc rgb "red" title "target"
set title "Favorites rewrite against a copy (ms per run)"
set logscale xy
set xtics norotate
set xlabel "entries"
set yrange [*:*]
plot "{folder}/favorites-native.dat" using 1:2 with linespoints title "rewrite, native", \\
     "" using 1:3 with linespoints dt 2 title "copy, native", \\
     "{folder}/favorites-wine.dat" using 1:2 with linespoints title "rewrite, Wine", \\
     "" using 1:3 with linespoints dt 2 title "copy, Wine"
unset multiplot
"""
    subprocess.run(["gnuplot"], input=script, text=True, check=False)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("folder")
    parser.add_argument("--exe", required=True)
    parser.add_argument("--machine", default="")
    parser.add_argument("--load", default="")
    parser.add_argument("--revision", default="")
    parser.add_argument("--runs", default="")
    args = parser.parse_args()
    rows = read_rows(args.folder)
    lines = [f"Varnholt benchmark, revision {args.revision}, {args.runs} runs per command",
             f"Machine: {args.machine}",
             f"Load average (1, 5, 15 min): {args.load}", ""]
    startup, favorites, about = [], [], []
    startup_table(rows, lines, startup)
    find_table(rows, lines)
    favorites_table(rows, lines, favorites)
    loads_table(rows, lines, args.exe)
    about_table(rows, lines, about)
    with open(os.path.join(args.folder, "bench.txt"), "w") as f:
        f.write("\n".join(lines))
    draw(args.folder, startup, favorites)


if __name__ == "__main__":
    main()
