# Writes OUT, a source file telling when an executable was built, as the compiler's
# __DATE__ and __TIME__ would ("Nov  9 2022", "14:31:04"). Run just before each link.
# HEADER declares `BuildStamp ExecutableBuildStamp()` in NAMESPACE.
string(TIMESTAMP month "%b")
string(TIMESTAMP day "%d")
string(TIMESTAMP year "%Y")
string(TIMESTAMP clock "%H:%M:%S")
string(REGEX REPLACE "^0" " " day "${day}")
file(WRITE "${OUT}.tmp" "#include \"${HEADER}\"\n\nnamespace ${NAMESPACE} {\n\n"
     "BuildStamp ExecutableBuildStamp() {\n"
     "    return {\"${month} ${day} ${year}\", \"${clock}\"};\n}\n\n} // namespace ${NAMESPACE}\n")
file(RENAME "${OUT}.tmp" "${OUT}")
