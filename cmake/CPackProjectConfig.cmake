# SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
# SPDX-License-Identifier: MIT
# Read by cpack before it makes the packages. CPack's DEB generator puts the
# project's one summary in front of every component's description; each package
# has its own summary as the first line of its description instead.
unset(CPACK_PACKAGE_DESCRIPTION_SUMMARY)
