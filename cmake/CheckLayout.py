#!/usr/bin/env python3
"""The layout's rules, checked as a test; run as: python3 cmake/CheckLayout.py SRC QTWIDGETS_DIR

- base/ includes nothing of ours outside base/;
- only main.cpp and the main frame's own folder app/ include app/;
- no widgets header (any file of Qt's QtWidgets folder) outside ui/ folders, app/ and main.cpp;
- the folders' include graph (every folder its own node) has no circle.
"""
import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def includes(path):
    with open(path, encoding='utf-8', errors='replace') as f:
        for line in f:
            m = INCLUDE.match(line)
            if m:
                yield m.group(1) == '"', m.group(2)


def folder(path):
    return os.path.dirname(path) or '.'


def find_circle(edges):
    """One circle of the graph as a list of nodes, or None."""
    state = {}
    stack = []

    def visit(node):
        state[node] = 'open'
        stack.append(node)
        for nxt in sorted(edges.get(node, ())):
            if state.get(nxt) == 'open':
                return stack[stack.index(nxt):] + [nxt]
            if nxt not in state:
                found = visit(nxt)
                if found:
                    return found
        stack.pop()
        state[node] = 'done'
        return None

    for node in sorted(edges):
        if node not in state:
            found = visit(node)
            if found:
                return found
    return None


def main(src, widgets_dir):
    widgets = set(os.listdir(widgets_dir)) if widgets_dir else set()
    faults = []
    edges = {}
    for root, _, files in os.walk(src):
        for name in sorted(files):
            if not name.endswith(('.h', '.cpp')):
                continue
            rel = os.path.relpath(os.path.join(root, name), src)
            windows = '/ui/' in '/' + rel or rel.startswith('app/') or rel == 'main.cpp'
            for quoted, header in includes(os.path.join(root, name)):
                base_name = header.split('/')[-1]
                if not windows and (header.startswith('QtWidgets/') or
                                    (not quoted and base_name in widgets)):
                    faults.append(f'{rel}: logic includes the widgets header {header}')
                if not quoted or '/' not in header:
                    continue
                if rel.startswith('base/') and not header.startswith('base/'):
                    faults.append(f'{rel}: base/ includes {header}')
                if header.startswith('app/') and not (rel.startswith('app/') or rel == 'main.cpp'):
                    faults.append(f'{rel}: only main.cpp and app/ may include {header}')
                if folder(rel) != folder(header):
                    edges.setdefault(folder(rel), set()).add(folder(header))
    circle = find_circle(edges)
    if circle:
        faults.append('folders include each other in a circle: ' + ' -> '.join(circle))
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1], sys.argv[2] if len(sys.argv) > 2 else ''))
