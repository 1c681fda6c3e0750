#!/usr/bin/env bash
# Checks that the folders keep to the pipeline's one-way chain: a file may
# include only headers of its own folder or of folders earlier in the chain,
# and a folder's library may link only libraries of earlier folders.
# Prints each include or link that points up the chain; fails if any does.
set -euo pipefail
cd "$(dirname "$0")/.."

# The chain, first to last; a folder may use only those before it.
chain=(core files palette subtitles text timing render hdrender sup pgs output conversion
       platform resources about app cli)
declare -A position library_folder
for i in "${!chain[@]}"; do
  position[${chain[$i]}]=$i
done
library_folder=([tesmora_core]=core [tesmora_files]=files [tesmora_palette]=palette
  [tesmora_subtitles]=subtitles [tesmora_text]=text [tesmora_timing]=timing
  [tesmora_render]=render [tesmora_hdrender]=hdrender [tesmora_sup]=sup [tesmora_pgs]=pgs
  [tesmora_output]=output
  [tesmora_conversion]=conversion [tesmora_platform]=platform
  [tesmora_resources]=resources [tesmora_about]=about [tesmora_app]=app
  [tesmora_cli_lib]=cli)

faults=0
for folder in "${chain[@]}"; do
  [[ -d $folder ]] || continue
  own=${position[$folder]}
  while IFS=: read -r file line used; do
    [[ -n ${position[$used]+set} ]] || continue
    if ((position[$used] > own)); then
      echo "$file:$line: $folder/ includes $used/, which comes later in the chain"
      faults=$((faults + 1))
    fi
  done < <(grep -rnoE '^#include "[a-z]+/' --include='*.h' --include='*.cpp' "$folder" |
             sed -E 's/#include "([a-z]+)\//\1/')
  lists=$folder/CMakeLists.txt
  [[ -f $lists ]] || continue
  while read -r used; do
    target=${library_folder[$used]:-}
    [[ -n $target ]] || continue
    if ((position[$target] > own)); then
      echo "$lists: $folder/ links $used, the library of $target/, which comes later in the chain"
      faults=$((faults + 1))
    fi
  done < <(tr '\n' ' ' < "$lists" | grep -oE 'target_link_libraries\([^)]*\)' |
             grep -oE 'tesmora_[a-z_]+' | sort -u)
done
if ((faults > 0)); then
  echo "$faults use(s) point up the chain" >&2
  exit 1
fi
echo "every include and link points down the chain"
