# Where each build keeps its files; sourced by the build, run and test scripts
# and the end-to-end runner, so that every one of them finds the program where
# the build put it.
#
#   tavix_build_dir KIND    the build folder of native, win32 or win64
#   tavix_dist_dir DIR      the folder a Windows build in DIR assembled
#                           Tavix.exe and its data files into, as that build
#                           recorded it (DIR/dist-folder.txt); empty if DIR
#                           holds no configured Windows build

tavix_build_dir() {
    echo "${TAVIX_BUILD_PREFIX:-build/}$1"
}

tavix_dist_dir() {
    local record=$1/dist-folder.txt
    [ -f "$record" ] && head -n1 "$record"
    return 0
}
