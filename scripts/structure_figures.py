#!/usr/bin/env python3
"""Figures of the source's structure: which files include the main window's
header, the longest files, and whether the files of src/mainwindow call each
other in a circle (a call is a name defined as Class::Name in one file and
called as Name( or ->Name( / .Name( in another)."""
import pathlib
import re
import sys

root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".")
src = root / "src"

includers = sorted(str(p.relative_to(root)) for p in src.rglob("*.[ch]*")
                   if '"mainwindow/kinovue_dlg.h"' in p.read_text(errors="replace"))
print(f"files of src/ that include mainwindow/kinovue_dlg.h: {len(includers)}")
for name in includers:
    print("  " + name)

lengths = sorted(((len(p.read_text(errors="replace").splitlines()), str(p.relative_to(root)))
                  for p in src.rglob("*") if p.suffix in (".h", ".cpp")), reverse=True)
print("longest files of src/: " + ", ".join(f"{path} {n}" for n, path in lengths[:3]))

files = sorted((src / "mainwindow").glob("*.cpp"))
definition = re.compile(r"^(?![ \t])[\w:<>,*& ]*?\b(\w+)::(~?\w+)\(", re.M)
defined = {}  # function name -> files defining it
for f in files:
    for cls, name in definition.findall(f.read_text(errors="replace")):
        if cls != name:  # constructors are not called by name
            defined.setdefault(name, set()).add(f.name)
calls = {f.name: set() for f in files}
for f in files:
    text = f.read_text(errors="replace")
    body = definition.sub("", text)
    for name in set(re.findall(r"\b(\w+)\s*\(", body)):
        for target in defined.get(name, ()):
            if target != f.name and len(defined[name]) == 1:
                calls[f.name].add(target)

# Strongly connected groups (Tarjan).
index, low, stack, on, groups, counter = {}, {}, [], set(), [], [0]
def visit(v):
    index[v] = low[v] = counter[0]; counter[0] += 1
    stack.append(v); on.add(v)
    for w in calls[v]:
        if w not in index:
            visit(w); low[v] = min(low[v], low[w])
        elif w in on:
            low[v] = min(low[v], index[w])
    if low[v] == index[v]:
        group = []
        while True:
            w = stack.pop(); on.discard(w); group.append(w)
            if w == v: break
        if len(group) > 1: groups.append(sorted(group))
for v in calls:
    if v not in index: visit(v)
print(f"files of src/mainwindow/ that call each other in a circle: {sum(map(len, groups))}")
for g in groups:
    print("  " + " ".join(g))
