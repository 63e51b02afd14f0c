# Writes OUT, a C++ source that holds every file of DIR as a (name, text) pair.
file(GLOB files ${DIR}/*.txt)
list(SORT files)
set(body "")
foreach(f IN LISTS files)
  get_filename_component(name ${f} NAME)
  file(READ ${f} text)
  set(body "${body}    {\"${name}\", R\"velmora(${text})velmora\"},\n")
endforeach()
file(WRITE ${OUT}.tmp
"// Generated from data/matrix at build time.\n#include \"core/BundledFiles.h\"\n\nnamespace velmora {\n\nconst std::vector<BundledFile>& BundledMatrixFiles() {\n  static const std::vector<BundledFile> files = {\n${body}  };\n  return files;\n}\n\n}  // namespace velmora\n")
file(COPY_FILE ${OUT}.tmp ${OUT} ONLY_IF_DIFFERENT)
