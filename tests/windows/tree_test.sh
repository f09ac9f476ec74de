#!/usr/bin/env bash
# Checks how scripts/windows-tree.sh runs a command in the Debian 13 tree: in the repository, at the path it has
# outside, as the calling user, with the command's exit status; and that the machine keeps no mount of the tree after
# a command that ends, fails or is killed. Usage: tree_test.sh (once the tree is made)
set -uo pipefail
repo=$(cd "$(dirname "$0")/../.." && pwd -P)
failures=0
tree_mounts() { findmnt -rn -o TARGET | grep -c '/debian-13/'; }

# One command a row: exit status | what it prints (a pattern) | the command.
while IFS='|' read -r status printed command; do
  status=${status// /} printed=${printed# } printed=${printed% } command=${command# }
  actual=$(bash "$repo/scripts/windows-tree.sh" run bash -c "$command")
  actual_status=$?
  if [ "$actual_status" = "$status" ] && [[ $actual == $printed ]] && [ "$(tree_mounts)" -eq 0 ]; then
    echo "ok    $command: status $status, $actual"
  else
    echo "FAIL  $command: status $actual_status, printed '$actual', $(tree_mounts) mounts of the tree left"
    failures=$((failures + 1))
  fi
done <<EOF
0 | $repo | pwd
0 | $(id -u):$(id -g) | echo \$(id -u):\$(id -g)
0 | 13.* | cat /etc/debian_version
0 | 6.8.2 | /usr/lib/qt6/libexec/moc -v | cut -d' ' -f2
0 | [1-9]* | grep -c ' $repo ' /proc/self/mounts
3 |  | exit 3
EOF

# A command killed with its whole process group, as an interrupted run is.
leader=$( (setsid bash "$repo/scripts/windows-tree.sh" run sleep 60 >/dev/null 2>&1 & echo $!))
inside=''
for _ in $(seq 100); do inside=$(pgrep -g "$leader" -x sleep) && break; sleep 0.1; done
# What the command sees as mounted, from inside the tree: /proc, /dev, /sys, the repository and what they hold.
held=$(wc -l <"/proc/$inside/mounts" 2>/dev/null)
kill -9 -- "-$leader"
for _ in $(seq 50); do pgrep -g "$leader" >/dev/null || break; sleep 0.1; done
if [ "${held:-0}" -gt 0 ] && [ "$(tree_mounts)" -eq 0 ]; then
  echo "ok    a killed command saw $held mounts in the tree, and the machine keeps none of them"
else
  echo "FAIL  a killed command saw ${held:-no} mounts in the tree; the machine keeps $(tree_mounts)"
  failures=$((failures + 1))
fi
[ "$failures" -eq 0 ]
