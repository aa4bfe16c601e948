"""Starts the program on the current display inside this D-Bus session, reads its accessibility tree
through AT-SPI as a screen reader does, presses "Start Creating Template" through its action and
reads the preview too, then writes both windows as JSON to the file named second: one object per
node with its role, name, text, value, the names of what labels it, and its depth, in tree order.
(Standard output is shared with the accessibility daemons the session starts, which write to it.)"""
import json
import subprocess
import sys
import tempfile
import time

import pyatspi


def find_application(name, timeout, program):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline and program.poll() is None:
        desktop = pyatspi.Registry.getDesktop(0)
        for index in range(desktop.childCount):
            application = desktop.getChildAtIndex(index)
            if application is not None and application.name == name and application.childCount > 0:
                return application
        time.sleep(0.2)
    return None


def describe(node, depth, into):
    entry = {"depth": depth, "role": node.getRoleName(), "name": node.name}
    try:
        text = node.queryText()
        entry["text"] = text.getText(0, -1)
    except NotImplementedError:
        pass
    try:
        entry["value"] = node.queryValue().currentValue
    except NotImplementedError:
        pass
    entry["labelledBy"] = [
        relation.getTarget(index).name
        for relation in node.getRelationSet()
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY
        for index in range(relation.getNTargets())
    ]
    entry["showing"] = node.getState().contains(pyatspi.STATE_SHOWING)
    into.append(entry)
    for index in range(node.childCount):
        child = node.getChildAtIndex(index)
        if child is not None:
            describe(child, depth + 1, into)


def windows(application):
    found = []
    for index in range(application.childCount):
        window = application.getChildAtIndex(index)
        if window is not None and window.getState().contains(pyatspi.STATE_SHOWING):
            nodes = []
            describe(window, 0, nodes)
            found.append(nodes)
    return found


def press(application, button_name):
    for window in windows_objects(application):
        for node in walk(window):
            if node.getRoleName() == "push button" and node.name == button_name:
                action = node.queryAction()
                for index in range(action.nActions):
                    if action.getName(index) == "Press":
                        action.doAction(index)
                        return True
    return False


def windows_objects(application):
    return [application.getChildAtIndex(index) for index in range(application.childCount)]


def walk(node):
    yield node
    for index in range(node.childCount):
        child = node.getChildAtIndex(index)
        if child is not None:
            yield from walk(child)


def wait_for_window(application, control_name, timeout):
    """The shown windows holding a control of that name, once there are any; empty after the timeout."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        found = [w for w in windows(application) if any(n["name"] == control_name for n in w)]
        if found:
            return found
        time.sleep(0.5)
    return []


def start(path):
    """The program with its accessible application. Beside other X servers starting and stopping,
    a connection is now and then refused: the program then ends at once and is started again."""
    for _ in range(3):
        with tempfile.TemporaryFile() as errors:
            program = subprocess.Popen([path], stderr=errors)
            application = find_application("Brindlemoor", 60, program)
            if application is not None or program.poll() is None:
                return program, application
            errors.seek(0)
            said = errors.read()
        sys.stderr.write(said.decode(errors="replace"))
        if b"could not connect to display" not in said:
            break
    return program, None


def main():
    program, application = start(sys.argv[1])
    try:
        if application is None:
            print("no accessible application appeared", file=sys.stderr)
            return 1
        # The window is shown only after its load step has filled the fields.
        result = {"entry": wait_for_window(application, "Start Creating Template", 60)}
        if not press(application, "Start Creating Template"):
            print("no Start Creating Template button to press", file=sys.stderr)
            return 1
        result["preview"] = wait_for_window(application, "Save Results To Excel File", 60)
        with open(sys.argv[2], "w", encoding="utf-8") as out:
            json.dump(result, out)
        return 0
    finally:
        program.kill()
        program.wait()


sys.exit(main())
