#!/usr/bin/env python3
"""The core's folders include one another one way only: no two files of different folders of
src/ reach each other through their includes, and no two folders of src/core do."""
import collections
import os
import re
import sys

src = sys.argv[1]
files = {}
for folder, _, names in os.walk(src):
    for name in names:
        if name.endswith(('.h', '.cpp')):
            files[os.path.relpath(os.path.join(folder, name), src)] = os.path.join(folder, name)


def resolve(include, by):
    for candidate in ('core/' + include, include, os.path.join(os.path.dirname(by), include)):
        if candidate in files:
            return candidate
    return None


def unit(path):
    """A header and its source are one unit."""
    return os.path.splitext(path)[0]


units = collections.defaultdict(set)
for rel, path in files.items():
    with open(path, errors='replace') as f:
        for include in re.findall(r'#include "([^"]+)"', f.read()):
            target = resolve(include, rel)
            if target and unit(target) != unit(rel):
                units[unit(rel)].add(unit(target))


def circles(graph):
    """The strongly connected sets of more than one node (Tarjan, without recursion)."""
    index, low, stack, on, found, counter = {}, {}, [], set(), [], [0]
    for root in list(graph):
        if root in index:
            continue
        work = [(root, iter(sorted(graph[root])))]
        index[root] = low[root] = counter[0]; counter[0] += 1; stack.append(root); on.add(root)
        while work:
            node, children = work[-1]
            child = next(children, None)
            if child is not None:
                if child not in index:
                    index[child] = low[child] = counter[0]; counter[0] += 1; stack.append(child); on.add(child)
                    work.append((child, iter(sorted(graph[child]))))
                elif child in on:
                    low[node] = min(low[node], index[child])
                continue
            work.pop()
            if work:
                low[work[-1][0]] = min(low[work[-1][0]], low[node])
            if low[node] == index[node]:
                group = []
                while True:
                    member = stack.pop(); on.discard(member); group.append(member)
                    if member == node:
                        break
                if len(group) > 1:
                    found.append(sorted(group))
    return found


faults = [g for g in circles(units) if len({os.path.dirname(u) for u in g}) > 1]
folders = collections.defaultdict(set)
for a, targets in units.items():
    for b in targets:
        if a.startswith('core/') and b.startswith('core/') and os.path.dirname(a) != os.path.dirname(b):
            folders[os.path.dirname(a)].add(os.path.dirname(b))
faults += circles(folders)
for group in faults:
    print('include circle: ' + ' -> '.join(group))
sys.exit(1 if faults else 0)
