# comment
graph [
  # another
  node [ id -5 ]
]
