#!/usr/bin/python3
# Copyright: the QUOR Tessaron Configuration authors
# GNU General Public License v3.0 or later (see LICENSE)
"""Ansible module: the settings of a QUOR Tessaron appliance, through tessaron-ctl apply."""

from __future__ import absolute_import, division, print_function

__metaclass__ = type

DOCUMENTATION = r"""
---
module: tessaron_config
short_description: Set parameters of a QUOR Tessaron network storage appliance
description:
  - Brings the parameter files of one QUOR Tessaron appliance to the state given in I(settings),
    through the appliance's file share, with C(tessaron-ctl apply).
  - Only values that differ from the stored ones are written; each file is written once, read back,
    and the task fails when the appliance did not keep a value.
  - "Runs on the control node (use C(connection: local)): the share is reached from there, as a mounted
    folder or straight over SMB."
  - Supports check mode (nothing is written; the changes that would be made are reported) and diff mode
    (the old and new values of each file, passwords masked).
version_added: "1.0.0"
options:
  share:
    description:
      - The appliance's share, as C(tessaron-ctl) takes it, for example C(smb://tessaron1/cd),
        C(//tessaron1/cd) or the folder where it is mounted.
    type: str
    required: true
  settings:
    description:
      - The wanted values, by file, section and key. A file is named as C(tessaron-ctl --file) takes it
        (C(config), C(scsi), C(Config/Config.ini), C(Volumes/CDROM1/GUEST.USR)); the section named by
        the empty text is the unnamed one.
      - A value is a string, or a list of strings for a repeated key. Other scalars are written as the
        file holds them, C(true) and C(false) as C(yes) and C(no), numbers as their decimal text.
      - C(Restart) and C(FactoryDefaults) are refused here; use I(restart) to restart the appliance.
      - C(Date) and C(Time) are refused by C(tessaron-ctl apply), since setting the clock is an action,
        not a state.
    type: dict
    required: true
  restart:
    description:
      - Ask the appliance to restart after the settings were written, when anything changed.
    type: bool
    default: false
  user:
    description:
      - User name for a share reached over SMB; guest access when not given.
    type: str
  password:
    description:
      - Password of I(user). Passed to C(tessaron-ctl) in its environment, never on a command line.
    type: str
  ctl:
    description:
      - Path of the C(tessaron-ctl) program.
    type: path
    default: tessaron-ctl
requirements:
  - tessaron-ctl on the control node
author:
  - QUOR Tessaron Configuration authors
"""

EXAMPLES = r"""
- name: Same DNS servers everywhere, the workgroup per host
  tessaron_config:
    share: "smb://{{ inventory_hostname }}/cd"
    settings:
      config:
        DNS:
          DNSServer: ["10.0.0.1", "10.0.0.2"]
        SMB:
          Domain/GroupName: "{{ tessaron_workgroup }}"
    restart: true
  delegate_to: localhost

- name: A volume's guest rights
  tessaron_config:
    share: /mnt/tessaron1
    settings:
      Volumes/CDROM1/GUEST.USR:
        "":
          NFSIPAddress: ["10.0.0.0"]
"""

RETURN = r"""
changed:
  description: Whether any value was (or, in check mode, would be) written.
  returned: always
  type: bool
files:
  description: Per file of I(settings), in their order, what became of it.
  returned: always
  type: list
  elements: dict
  contains:
    file:
      description: The file, as a path below the share.
      type: str
    result:
      description: >-
        C(written), C(unchanged), C(would change) (check mode), C(refused), C(not kept) (the appliance did not
        keep a value) or C(not reached) (an earlier file failed).
      type: str
    changes:
      description: The values changed, with passwords masked.
      type: list
      elements: dict
      contains:
        section:
          description: The section; the empty text for the unnamed one.
          type: str
        key:
          description: The key.
          type: str
        old:
          description: The value before.
          type: str
        new:
          description: The value after.
          type: str
    message:
      description: What the program said of the file, when it said anything.
      type: str
restarted:
  description: Whether a restart was asked of the appliance.
  returned: always
  type: bool
"""

import json

from ansible.module_utils.basic import AnsibleModule

REQUESTS = ("Restart", "FactoryDefaults")


def file_text(value):
    """A scalar as the parameter file holds it."""
    if isinstance(value, bool):
        return "yes" if value else "no"
    if value is None:
        return ""
    return str(value)


def document_of(settings):
    """The settings as tessaron-ctl apply takes them: every value a string or a list of strings.
    Returns (document, refused key path or None)."""
    document = {}
    for name, sections in settings.items():
        if not isinstance(sections, dict):
            return None, "settings.%s must map section names to parameters" % name
        document[name] = {}
        for section, parameters in sections.items():
            section = "" if section is None else str(section)
            if not isinstance(parameters, dict):
                return None, "settings.%s.%s must map keys to values" % (name, section)
            document[name][section] = {}
            for key, value in parameters.items():
                if str(key) in REQUESTS:
                    return None, ("settings.%s.%s.%s: %s is a request, not a setting; use the restart option "
                                  "(a factory reset is never part of a settings run)" % (name, section, key, key))
                if isinstance(value, (list, tuple)):
                    document[name][section][str(key)] = [file_text(item) for item in value]
                else:
                    document[name][section][str(key)] = file_text(value)
    return document, None


def diff_of(files):
    """Ansible's before/after texts, one pair per file that changes."""
    diffs = []
    for entry in files:
        changes = entry.get("changes") or []
        if not changes:
            continue
        def lines(side):
            return "".join("[%s] %s = %s\n" % (c["section"], c["key"], c[side]) for c in changes)
        diffs.append({"before_header": entry["file"], "after_header": entry["file"],
                      "before": lines("old"), "after": lines("new")})
    return diffs


def run_ctl(module, arguments, stdin=None):
    environment = {}
    if module.params["user"]:
        environment["TESSARON_SMB_USER"] = module.params["user"]
    if module.params["password"] is not None:
        environment["TESSARON_SMB_PASSWORD"] = module.params["password"]
    return module.run_command([module.params["ctl"]] + arguments, data=stdin, binary_data=True,
                              environ_update=environment, encoding="utf-8")


def main():
    module = AnsibleModule(
        argument_spec=dict(
            share=dict(type="str", required=True),
            settings=dict(type="dict", required=True),
            restart=dict(type="bool", default=False),
            user=dict(type="str"),
            password=dict(type="str", no_log=True),
            ctl=dict(type="path", default="tessaron-ctl"),
        ),
        supports_check_mode=True,
    )
    document, refused = document_of(module.params["settings"])
    if refused:
        module.fail_json(msg=refused, changed=False, files=[], restarted=False)

    arguments = ["apply", module.params["share"], "-", "--json"]
    if module.check_mode:
        arguments.append("--dry-run")
    rc, out, err = run_ctl(module, arguments, json.dumps(document))
    try:
        report = json.loads(out)
    except ValueError:
        module.fail_json(msg=err.strip() or "tessaron-ctl apply gave no answer", rc=rc, changed=False,
                         files=[], restarted=False)
    files = report.get("files", [])
    changed = bool(report.get("changed"))
    result = dict(changed=changed, files=files, restarted=False)
    if module._diff:
        result["diff"] = diff_of(files)
    if rc != 0:
        failed = [f for f in files if f.get("result") in ("refused", "not kept")]
        message = failed[0].get("message") if failed and failed[0].get("message") else err.strip()
        module.fail_json(msg=message or "tessaron-ctl apply failed", rc=rc, **result)

    if module.params["restart"] and changed:
        result["restarted"] = True
        if not module.check_mode:
            rc, out, err = run_ctl(module, ["restart", module.params["share"], "--yes"])
            if rc != 0:
                module.fail_json(msg=err.strip() or "the restart could not be asked", rc=rc, **result)
    module.exit_json(**result)


if __name__ == "__main__":
    main()
